"""Converts every real SDTS transfer through libferrolink's Display and checks its run files
against the transfer's IDEN, XREF and IREF modules as iso8211dump shows them, and the
layer extents GDAL reads against the shapefiles written and the SPDM corners.

usage: real_transfer_check.py LIBFERROLINK ISO8211DUMP DATA_DIR
Skips (exit 0) when GDAL or the data is absent."""
import ctypes
import os
import struct
import subprocess
import sys
import tempfile

lib_path, dump_path, data_dir = sys.argv[1:4]
try:
    from osgeo import ogr
except ImportError:
    print("SKIP: GDAL's Python bindings are not installed")
    sys.exit(0)
sdts_dir = os.path.join(data_dir, "sdts")
if not os.path.isdir(sdts_dir):
    print("SKIP: real DLG data not found (%s)" % sdts_dir)
    sys.exit(0)

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def subfields(path):
    """(tag, label, format, value) of every subfield of an ISO 8211 file."""
    out = subprocess.run([dump_path, path], check=True, capture_output=True, text=True,
                         errors="replace").stdout
    rows = []
    for line in out.splitlines():
        if line.startswith("#"):
            continue
        parts = line.split("\t", 4)
        if len(parts) == 5:
            rows.append((parts[0], parts[1], parts[2], parts[4]))
    return rows


def first(rows, tag, label):
    for t, l, _, v in rows:
        if t == tag and l == label:
            return v
    return None


def shp_box(path):
    with open(path, "rb") as f:
        header = f.read(100)
    return struct.unpack("<4d", header[36:68])  # xmin, ymin, xmax, ymax


def close(a, b):
    return abs(a - b) <= 1e-6 * max(1.0, abs(a), abs(b))


work = tempfile.mkdtemp(prefix="corvane-real-")
os.environ["TEMP"] = work
display = ctypes.CDLL(lib_path).Display
display.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
display.restype = ctypes.c_int

compared_layers = 0
for folder in sorted(os.listdir(sdts_dir)):
    directory = os.path.join(sdts_dir, folder)
    files = {name[4:8]: os.path.join(directory, name) for name in os.listdir(directory)}
    catalog = files["CATD"]
    base = os.path.splitext(os.path.basename(catalog))[0]
    out = os.path.join(work, folder)
    os.makedirs(out)
    check(display(catalog.encode(), out.encode()) == 0, "%s: Display failed" % folder)
    run_name = folder + base + "shp"
    run = os.path.join(out, run_name)

    iden, xref, iref = subfields(files["IDEN"]), subfields(files["XREF"]), subfields(files["IREF"])
    title, scale = first(iden, "IDEN", "TITL"), first(iden, "IDEN", "SCAL")
    rsnm, hdat, zone = (first(xref, "XREF", l) for l in ("RSNM", "HDAT", "ZONE"))
    with open(os.path.join(out, "names.txt")) as f:
        check(f.read() == run_name + "\n" + title, "%s: names.txt" % folder)
    with open(os.path.join(run, base + ".doc")) as f:
        doc = f.read()
    with open(os.path.join(run, base + ".log")) as f:
        log = f.read()
    check("\nTITLE:           %s\nSCALE:           %d\n" % (title, int(scale)) in doc, "%s: doc title/scale" % folder)
    check("\nReference System:           %s\nHorizontal Datum:           %s\nZONE:\t\t\t\t\t   %s\n"
          % (rsnm, hdat, zone) in doc, "%s: doc reference system" % folder)
    for line in ("Map Title: %s\n" % title, "Map Scale: 1 to %s\n" % scale, "Reference System: %s\n" % rsnm,
                 "Horizontal Datum: %s\n" % hdat, "Zone: %s\n" % zone):
        check(line in log, "%s: log line %r" % (folder, line))

    sfax = float(first(iref, "IREF", "SFAX"))
    sfay = float(first(iref, "IREF", "SFAY"))
    xorg = float(first(iref, "IREF", "XORG"))
    yorg = float(first(iref, "IREF", "YORG"))
    source = ogr.Open(catalog)
    shapefiles = [n for n in os.listdir(run) if n.endswith(".shp")]
    for layer in source:
        if layer.GetGeomType() == ogr.wkbNone or layer.GetFeatureCount() == 0:
            continue
        name = layer.GetName()
        xmin, xmax, ymin, ymax = layer.GetExtent()
        if name.startswith("PC"):
            continue  # GDAL 3.6 returns SDTS polygons without geometry
        if "SPDM" in files:
            spdm = subfields(files["SPDM"])
            xs = [int(v, 16) for t, l, _, v in spdm if t == "DMSA" and l == "!X"]
            ys = [int(v, 16) for t, l, _, v in spdm if t == "DMSA" and l == "!Y"]
            check(xmin >= min(xs) * sfax + xorg - 1e-6 and xmax <= max(xs) * sfax + xorg + 1e-6,
                  "%s: %s outside the spatial domain" % (folder, name))
            check(ymin >= min(ys) * sfay + yorg - 1e-6 and ymax <= max(ys) * sfay + yorg + 1e-6,
                  "%s: %s outside the spatial domain" % (folder, name))
        ours = [n for n in shapefiles if n.endswith("_%s_.shp" % name) or n == name + ".shp"]
        if ours:
            box = shp_box(os.path.join(run, ours[0]))
            check(all(close(a, b) for a, b in zip(box, (xmin, ymin, xmax, ymax))),
                  "%s: %s extent %s, GDAL %s" % (folder, ours[0], box, (xmin, ymin, xmax, ymax)))
            compared_layers += 1

print("compared %d layer extents with GDAL" % compared_layers)
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
