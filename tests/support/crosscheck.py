"""What the cross-checks and the golden test share: the real data beside the checkout, conversions
through the corvane program (so that sanitizer builds check them too), failures collected as they
happen, and readers of what iso8211dump and the DLG-3 files say. Our own outputs are read by
GDAL/OGR or decoded here with struct, never through our code.

`finish` prints the closing line and gives the exit status. A check skips (exit 0) when a Python
binding or the real data is absent.
"""
import concurrent.futures
import glob
import importlib
import os
import struct
import subprocess
import sys

FAILURES = []


def fail(message):
    FAILURES.append(message)
    print("FAIL:", message)


def check(what, got, expected):
    if got != expected:
        fail(f"{what}: got {got!r}, expected {expected!r}")


def finish(summary):
    print(f"{summary}; {len(FAILURES)} failures")
    return 1 if FAILURES else 0


def skip(reason):
    print("SKIP:", reason)
    sys.exit(0)


def need(*modules):
    """The modules imported (e.g. "osgeo.ogr"); skips the check when one is missing."""
    try:
        return [importlib.import_module(m) for m in modules]
    except ImportError as missing:
        skip(f"{missing} (Debian: python3-gdal, python3-shapely)")


PATTERNS = {"sdts": "sdts/*/*CATD.DDF", "opt": "dlg3-optional/*.opt", "tar": "sdts-archives/*.tar"}


def real_inputs(data, *kinds):
    """The real inputs of the kinds asked ("sdts" catalogs, "opt" files, "tar" archives), sorted;
    skips without them."""
    found = [p for kind in kinds for p in sorted(glob.glob(os.path.join(data, PATTERNS[kind])))]
    if not found:
        skip(f"real DLG data not found under {data}")
    return found


def convert_each(corvane, inputs, scratch):
    """Converts each input with corvane into a directory of its own under `scratch` (numbered in
    input order), two at a time; {input: run directory}, None where a conversion failed."""
    def one(numbered):
        k, path = numbered
        run = subprocess.run([corvane, "convert", "-q", "-o", os.path.join(scratch, str(k)), path],
                             capture_output=True, text=True)
        head, _, run_dir = run.stdout.strip().partition(" -> ")
        if run.returncode != 0 or head != path:
            fail(f"{path}: conversion failed ({run.returncode}): {run.stdout}{run.stderr}")
            return None
        return run_dir

    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:  # CI has two cores
        return dict(zip(inputs, pool.map(one, enumerate(inputs))))


def dump(tool, path):
    """Every subfield of an ISO 8211 file as iso8211dump shows it: (tag, label, format, status,
    value) with binary values in hex; raises AssertionError when the dump fails."""
    run = subprocess.run([tool, path], capture_output=True)
    if run.returncode != 0:
        raise AssertionError(f"{path}: iso8211dump failed: {run.stderr.decode(errors='replace').strip()}")
    return [tuple((line.split("\t") + [""] * 5)[:5])
            for line in run.stdout.decode("latin-1").split("\n") if line and not line.startswith("#")]


def first(rows, tag, label):
    return next((value for t, l, _, _, value in rows if t == tag and l == label), None)


def dlg_records(path):
    """The 80-character records of a DLG-3 optional-format file, with or without line ends."""
    with open(path, encoding="latin-1", newline="") as f:
        text = f.read()
    if "\n" in text[:100]:
        return [line.rstrip("\r").ljust(80) for line in text.split("\n")]
    return [text[i:i + 80] for i in range(0, len(text), 80)]


def read_dbf(path):
    """The rows' text, deletion flag first; a file shorter than its header says fails the check."""
    with open(path, "rb") as f:
        data = f.read()
    count, header, length = struct.unpack("<IHH", data[4:12])
    check(f"{os.path.basename(path)} rows present", (len(data) - header) // length, count)
    return [data[header + k * length:header + (k + 1) * length].decode("latin-1") for k in range(count)]


def read_shp(path):
    """The records of a shapefile as lists of rings (parts) of (x, y) points."""
    with open(path, "rb") as f:
        data = f.read()
    out, at = [], 100
    while at + 12 <= len(data):
        length = struct.unpack(">i", data[at + 4:at + 8])[0] * 2
        content = data[at + 8:at + 8 + length]
        if struct.unpack("<i", content[:4])[0] == 1:
            out.append([[struct.unpack("<2d", content[4:20])]])
        else:
            parts, points = struct.unpack("<2i", content[36:44])
            base = 44 + 4 * parts
            bounds = list(struct.unpack(f"<{parts}i", content[44:base])) + [points]
            xy = [struct.unpack("<2d", content[base + 16 * k:base + 16 * k + 16]) for k in range(points)]
            out.append([xy[bounds[k]:bounds[k + 1]] for k in range(parts)])
        at += 8 + length
    return out


def ogr_rows(path):
    """The records of a shapefile or a bare .dbf as OGR reads them: {field: value} (None when
    unset) with the geometry as WKT under "wkt"; OGR's warnings fail the check."""
    gdal, ogr = need("osgeo.gdal", "osgeo.ogr")
    messages = []
    gdal.PushErrorHandler(lambda level, number, text: messages.append(text))
    source = ogr.Open(path)
    rows, layer = [], source.GetLayer(0) if source else []
    names = [field.GetName() for field in layer.schema] if source else []
    for feature in layer:
        row = dict(zip(names, (feature.GetField(i) for i in range(len(names)))))
        geometry = feature.GetGeometryRef()
        row["wkt"] = geometry.ExportToWkt() if geometry is not None else None
        rows.append(row)
    gdal.PopErrorHandler()
    check(f"{path}: opened by GDAL without warnings", (source is not None, messages), (True, []))
    return rows
