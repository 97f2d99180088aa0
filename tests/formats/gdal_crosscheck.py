#!/usr/bin/python3
"""Our outputs read back by GDAL, an independent reader.

Samples of our writers (format_samples): geometry types, counts, extents, fields, values and
geometries must match, and every projection file must read as the CRS we meant. Conversions of
every real DLG-3 optional-format file and of a synthetic one: every shapefile and table opens
and reads whole, each shapefile has as many table rows as shapes, and the node, line and area
counts equal the counts of the file's category record.

usage: gdal_crosscheck.py FORMAT_SAMPLES CORVANE MAKE_DLGOPT DATA_DIR
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import PATTERNS, check, convert_each, dlg_records, fail, finish, need, ogr_rows  # noqa: E402

ogr, osr = need("osgeo.ogr", "osgeo.osr")
SAMPLES = [  # file, geometry type, extent (xmin, xmax, ymin, ymax), fields, values, geometries as WKT
    ("nodes.shp", "Point", (499900.0, 500100.0, 4199990.5, 4200050.0), [("NO01_ID", "Integer", 8, 0)],
     [[1], [2], [3]], ["POINT (500000.5 4200000.25)", "POINT (500100 4200050)", "POINT (499900 4199990.5)"]),
    ("lines.shp", "Line String", (0.0, 22.0, -4.0, 5.0),
     [("LE01_ID", "Integer64", 10, 0), ("DESCRIPTIO", "String", 12, 0)], [[1, "Stream"], [2, "Canal ditch"]],
     ["LINESTRING (0 0,10 5)", "MULTILINESTRING ((1 1,2 2),(20 -3,21 -4,22 -3))"]),
    ("polygons.shp", "Polygon", (0.0, 10.0, 0.0, 10.0), [("PC01_id", "Integer", 8, 0)], [[7]],
     ["POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))"]),
    ("joined.dbf", "None", None,
     [("NO01_id", "Integer64", 10, 0), ("ATTRIBUTE_", "String", 16, 0), ("ELEVATION", "Real", 8, 2)],
     [[1, "Spot height", 12.5], [2, "Benchmark", -3.25]], [None, None]),
]


def same_numbers(wkt):
    """WKT with every number in one spelling (GDAL writes 499900 as "499900.0" at times)."""
    return re.sub(r"-?\d+(\.\d+)?(e[-+]?\d+)?", lambda m: repr(float(m.group())), wkt or "")


def check_sample(path, geometry_type, extent, fields, values, wkts):
    source = ogr.Open(path)  # must outlive its layer
    layer = source.GetLayer(0)
    check(f"{path} geometry type", ogr.GeometryTypeToName(layer.GetGeomType()), geometry_type)
    check(f"{path} extent", layer.GetExtent() if extent else None, extent)
    check(f"{path} fields", [(f.GetName(), ogr.GetFieldTypeName(f.GetType()), f.GetWidth(), f.GetPrecision())
                             for f in layer.schema], fields)
    rows = ogr_rows(path)
    check(f"{path} values", [list(r.values())[:-1] for r in rows], values)
    check(f"{path} geometries", [same_numbers(r["wkt"]) for r in rows], [same_numbers(w) for w in wkts])


def check_projection_file(path):
    """Named after the EPSG code GDAL must find in it; "custom_albers" has none."""
    name, srs = os.path.basename(path)[:-4], osr.SpatialReference()
    with open(path) as f:
        if srs.ImportFromESRI([f.read()]) != 0:
            return fail(f"{name}.prj: GDAL cannot read it")
    if name == "custom_albers":
        check(f"{name}", [srs.GetAttrValue("PROJECTION"), srs.GetAttrValue("DATUM")] + [
            round(srs.GetProjParm(p), 9) for p in (osr.SRS_PP_STANDARD_PARALLEL_1, osr.SRS_PP_STANDARD_PARALLEL_2,
                                                   osr.SRS_PP_LONGITUDE_OF_CENTER, osr.SRS_PP_LATITUDE_OF_CENTER)],
              ["Albers_Conic_Equal_Area", "North_American_Datum_1983", 30.0, 45.5, -96.0, 23.0])
        return
    matches = [(s, c) for s, c in srs.FindMatches() if s.GetAuthorityName(None) == "EPSG"]
    found = int(matches[0][0].GetAuthorityCode(None)) if matches and matches[0][1] >= 70 else None
    check(f"{name}.prj identifies as", found, int(name))


def category_counts(path):
    records = dlg_records(path)
    category = records[10 + int(records[3][54:60] or 0) + int(records[3][60:66] or 0) - 1]
    return {"nodes": int(category[30:36]), "areas": int(category[46:52]), "links": int(category[62:68])}


def main(format_samples, corvane, make_dlgopt, data):
    with tempfile.TemporaryDirectory(prefix="formats-gdal-") as out:
        os.environ["TEMP"] = out
        subprocess.run([format_samples, out], check=True)
        for name, *expected in SAMPLES:
            check_sample(os.path.join(out, name), *expected)
        for path in sorted(glob.glob(os.path.join(out, "prj", "*.prj"))):
            check_projection_file(path)
        inputs = sorted(glob.glob(os.path.join(data, PATTERNS["opt"]))) + [os.path.join(out, "synthetic.opt")]
        subprocess.run([make_dlgopt, inputs[-1], "--lines", "301", "--form", "short"], check=True,
                       stdout=subprocess.DEVNULL)
        for path, run in convert_each(corvane, inputs, os.path.join(out, "runs")).items():
            base = os.path.join(run or "", os.path.basename(run or "")[:-3])
            for suffix, count in category_counts(path).items():
                check(f"{base}{suffix} shapes and rows", [len(ogr_rows(base + suffix + e)) for e in (".shp", ".dbf")],
                      [count, count])
            for table in glob.glob(os.path.join(run or "", "*.dbf")):
                ogr_rows(table)
    return finish(f"{len(SAMPLES)} samples, their projection files and {len(inputs)} conversions read back")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
