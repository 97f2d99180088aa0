#!/usr/bin/env bash
# The project's two commands:
#   ./corvane.sh run    install what is missing, build, convert the shipped sample data
#   ./corvane.sh test   install what is missing, build (normal and ASan+UBSan), run every test,
#                       then fuzz each libFuzzer target for a minute (tools/fuzz/run.sh)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config libgtest-dev zlib1g-dev libarchive-dev
          qt6-base-dev libproj-dev gdal-bin python3-gdal python3-shapely xvfb clang clang-format
          libclang-rt-14-dev)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

# Every C++ source follows .clang-format.
check_format() {
  find platform formats archives sdts dlgopt frontend tools tests \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
}

run_tests() {  # run_tests DIR
  (cd "$1" && ctest --output-on-failure -j "$(nproc)")
}

case "${1:-}" in
  run)
    install_missing
    build build
    exec tools/demo.sh build
    ;;
  test)
    install_missing
    check_format
    build build -DCORVANE_WERROR=ON
    run_tests build
    build build-sanitize -DCORVANE_SANITIZE=ON -DCORVANE_WERROR=ON
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitize
    tools/fuzz/run.sh 60
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
