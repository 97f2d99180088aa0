"""What the cross-checks share: they hold our outputs against readers independent of ours
(GDAL/OGR, GEOS through shapely, iso8211dump) and against the real data beside the checkout.

Failures are collected and printed as they happen; `finish` prints the closing line and gives
the exit status. A check skips (exit 0) when a Python binding or the real data is absent.
Our own files are decoded here with struct, never through our code.
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


def catalogs(data):
    """The catalog of every real transfer; skips without the data."""
    found = sorted(glob.glob(os.path.join(data, "sdts", "*", "*CATD.DDF")))
    if not found:
        skip(f"real SDTS data not found under {data}")
    return found


def optional_files(data):
    return sorted(glob.glob(os.path.join(data, "dlg3-optional", "*.opt")))


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


def convert(converter, kind, inputs, parent):
    """Converts `inputs` ("sdts" catalogs or "opt" files) into `parent` through the exported
    entries (the convert_inputs program); returns each input's result code."""
    os.makedirs(parent, exist_ok=True)
    run = subprocess.run([converter, kind, parent] + list(inputs), capture_output=True, text=True)
    if run.returncode != 0:
        fail(f"convert_inputs failed ({run.returncode}): {run.stderr}")
    results = dict(reversed(line.split(" ", 1)) for line in run.stdout.splitlines() if " " in line)
    return {path: int(results[path]) if path in results else None for path in inputs}


def convert_transfer(converter, catalog, parent):
    """Converts one transfer; its run directory (from names.txt), or None after a failure."""
    if convert(converter, "sdts", [catalog], parent).get(catalog) != 0:
        fail(f"{catalog}: conversion failed")
        return None
    with open(os.path.join(parent, "names.txt"), encoding="latin-1") as f:
        return os.path.join(parent, f.readline().strip())


def dump(tool, path):
    """Every subfield of an ISO 8211 file as iso8211dump shows it: (tag, label, format, status,
    value) with binary values in hex; raises AssertionError when the dump fails."""
    run = subprocess.run([tool, path], capture_output=True)
    if run.returncode != 0:
        raise AssertionError(f"{path}: iso8211dump failed: {run.stderr.decode(errors='replace').strip()}")
    return [tuple((line.split("\t") + [""] * 5)[:5])
            for line in run.stdout.decode("latin-1").split("\n") if line and not line.startswith("#")]


def records(rows):
    """The dumped subfields grouped by record; a record ends on status 3 or 4."""
    out, current = [], []
    for row in rows:
        current.append(row)
        if row[3] in ("3", "4"):
            out.append(current)
            current = []
    if current:
        raise AssertionError("subfields after the last end of record")
    return out


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
    """The header's record count and the rows' text, deletion flag first; a table whose file
    is shorter than its header says fails the check."""
    with open(path, "rb") as f:
        data = f.read()
    count, header, length = struct.unpack("<IHH", data[4:12])
    check(f"{os.path.basename(path)} rows present", (len(data) - header) // length, count)
    return count, [data[header + k * length:header + (k + 1) * length].decode("latin-1")
                   for k in range(count)]


def read_shp(path):
    """The records of a shapefile as (shape type, part starts, points)."""
    with open(path, "rb") as f:
        data = f.read()
    out, at = [], 100
    while at + 12 <= len(data):
        length = struct.unpack(">i", data[at + 4:at + 8])[0] * 2
        content = data[at + 8:at + 8 + length]
        kind = struct.unpack("<i", content[:4])[0]
        if kind == 1:
            out.append((1, [0], [struct.unpack("<2d", content[4:20])]))
        else:
            parts, points = struct.unpack("<2i", content[36:44])
            base = 44 + 4 * parts
            out.append((kind, list(struct.unpack(f"<{parts}i", content[44:base])),
                        [struct.unpack("<2d", content[base + 16 * k:base + 16 * k + 16])
                         for k in range(points)]))
        at += 8 + length
    return out


def shape_header(path):
    """The 100-byte header of a .shp or .shx (OGR reports extents from the geometries)."""
    with open(path, "rb") as f:
        raw = f.read(100)
    code, = struct.unpack(">i", raw[0:4])
    words, = struct.unpack(">i", raw[24:28])
    version, kind = struct.unpack("<ii", raw[28:36])
    return {"file_code": code, "bytes": words * 2, "file_bytes": os.path.getsize(path),
            "version": version, "shape_type": kind,
            "box": dict(zip(("xmin", "ymin", "xmax", "ymax"), struct.unpack("<4d", raw[36:68])))}


def ogr_read(path):
    """A shapefile or a bare .dbf as OGR reads it: geometry type name, feature count, extent
    (None for a table), fields as (name, type, width, precision), and the records as
    {"values": {field: value}, "wkt": text or None}. Strings come as OGR gives them."""
    ogr, = need("osgeo.ogr")
    ogr.UseExceptions()
    source = ogr.Open(path)
    if source is None or source.GetLayerCount() != 1:
        raise AssertionError(f"GDAL cannot open {path} as one layer")
    layer = source.GetLayer(0)
    definition = layer.GetLayerDefn()
    fields = [definition.GetFieldDefn(i) for i in range(definition.GetFieldCount())]
    kind = layer.GetGeomType()
    extent = None
    if kind != ogr.wkbNone:
        xmin, xmax, ymin, ymax = layer.GetExtent(force=0)
        extent = {"xmin": xmin, "ymin": ymin, "xmax": xmax, "ymax": ymax}

    def value(feature, i):
        if not feature.IsFieldSetAndNotNull(i):
            return None
        if fields[i].GetType() in (ogr.OFTInteger, ogr.OFTInteger64):
            return feature.GetFieldAsInteger64(i)
        if fields[i].GetType() == ogr.OFTReal:
            return feature.GetFieldAsDouble(i)
        return feature.GetFieldAsString(i)

    rows = []
    for feature in layer:
        geometry = feature.GetGeometryRef()
        rows.append({"values": {f.GetName(): value(feature, i) for i, f in enumerate(fields)},
                     "wkt": geometry.ExportToWkt() if geometry is not None else None})
    names = {ogr.wkbNone: "None", ogr.wkbPoint: "Point", ogr.wkbLineString: "LineString",
             ogr.wkbPolygon: "Polygon"}
    return {"geometry_type": names.get(kind, ogr.GeometryTypeToName(kind)),
            "feature_count": layer.GetFeatureCount(), "extent": extent,
            "fields": [(f.GetName(), ogr.GetFieldTypeName(f.GetType()), f.GetWidth(),
                        f.GetPrecision()) for f in fields],
            "records": rows}
