#!/usr/bin/env bash
# Fails when a source folder includes from a folder above it. The layers, lowest first:
#   platform -> formats -> archives -> sdts/iso8211 -> sdts/run -> sdts/modules
#   -> sdts/attributes -> sdts/topology -> sdts/driver -> frontend
# dlgopt stands beside the SDTS converter on platform, formats and archives. In the front
# end, batch sits under cli and window, which do not include each other.
# Usage: check_layers.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

folders=()
for folder in platform formats archives sdts dlgopt frontend; do
  [ -d "$folder" ] && folders+=("$folder")
done
grep -rHE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' "${folders[@]}" |
  awk '
    # The layer of a path: its first two components under sdts/ and frontend/ (frontend/main.cpp
    # is the front end itself), else its first.
    function layer(path,   parts, n) {
      n = split(path, parts, "/")
      if ((parts[1] == "sdts" || parts[1] == "frontend") && n > 2) return parts[1] "/" parts[2]
      return parts[1]
    }
    BEGIN {
      base = "platform formats archives"
      may["platform"] = "platform"
      may["formats"] = "platform formats"
      may["archives"] = base
      may["dlgopt"] = base " dlgopt"
      below = base
      n = split("sdts/iso8211 sdts/run sdts/modules sdts/attributes sdts/topology sdts/driver", sdts, " ")
      for (i = 1; i <= n; i++) { below = below " " sdts[i]; may[sdts[i]] = below }
      converters = below " dlgopt"
      may["frontend/batch"] = converters " frontend/batch"
      may["frontend/cli"] = converters " frontend/batch frontend/cli"
      may["frontend/window"] = converters " frontend/batch frontend/window"
      may["frontend"] = converters " frontend/batch frontend/cli"
      status = 0
    }
    {
      file = substr($0, 1, index($0, ":") - 1)
      included = $0
      sub(/^[^"]*"/, "", included)
      sub(/".*/, "", included)
      own = layer(file)
      target = layer(included)
      if (index(" " may[own] " ", " " target " ") == 0) {
        print file " includes " included ": " own " may not depend on " target > "/dev/stderr"
        status = 1
      }
    }
    END { exit status }'
