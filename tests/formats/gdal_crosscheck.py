#!/usr/bin/python3
"""Sample shapefiles, tables and projection files written by our writers, read back by GDAL:
geometry types, counts, extents (of the data and of both file headers), fields, values and
geometries must match, and every projection file must read as the CRS we meant.

usage: gdal_crosscheck.py FORMAT_SAMPLES PROJECTION_FILE_SAMPLES
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import check, fail, finish, need, ogr_read, shape_header  # noqa: E402

SHAPE_TYPES = {"Point": 1, "LineString": 3, "Polygon": 5}
SAMPLES = [  # file, geometry type, extent, fields, values, geometries as WKT
    ("nodes.shp", "Point", (499900.0, 4199990.5, 500100.0, 4200050.0),
     [("NO01_ID", "Integer", 8, 0)], [[1], [2], [3]],
     ["POINT (500000.5 4200000.25)", "POINT (500100 4200050)", "POINT (499900 4199990.5)"]),
    ("lines.shp", "LineString", (0.0, -4.0, 22.0, 5.0),
     [("LE01_ID", "Integer64", 10, 0), ("DESCRIPTIO", "String", 12, 0)],
     [[1, "Stream"], [2, "Canal ditch"]],
     ["LINESTRING (0 0,10 5)", "MULTILINESTRING ((1 1,2 2),(20 -3,21 -4,22 -3))"]),
    ("polygons.shp", "Polygon", (0.0, 0.0, 10.0, 10.0), [("PC01_id", "Integer", 8, 0)], [[7]],
     ["POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))"]),
    ("joined.dbf", "None", None,
     [("NO01_id", "Integer64", 10, 0), ("ATTRIBUTE_", "String", 16, 0), ("ELEVATION", "Real", 8, 2)],
     [[1, "Spot height", 12.5], [2, "Benchmark", -3.25]], None),
]


def same_numbers(wkt):
    """WKT with every number in one spelling (GDAL writes 499900 as "499900.0" at times)."""
    return re.sub(r"-?\d+(\.\d+)?(e[-+]?\d+)?", lambda m: repr(float(m.group())), wkt or "")


def check_sample(out, name, geometry_type, box, fields, values, wkts):
    path = os.path.join(out, name)
    result = ogr_read(path)
    extent = dict(zip(("xmin", "ymin", "xmax", "ymax"), box)) if box else None
    check(f"{name} geometry type", result["geometry_type"], geometry_type)
    check(f"{name} feature count", result["feature_count"], len(values))
    check(f"{name} extent", result["extent"], extent)
    check(f"{name} fields", result["fields"], fields)
    check(f"{name} values", [list(r["values"].values()) for r in result["records"]], values)
    if wkts is not None:
        check(f"{name} geometries", [same_numbers(r["wkt"]) for r in result["records"]],
              [same_numbers(w) for w in wkts])
        for header_of in (path, path[:-1] + "x"):
            header = shape_header(header_of)
            check(f"{header_of} length", header["bytes"], header["file_bytes"])
            check(f"{header_of} code, version, type",
                  (header["file_code"], header["version"], header["shape_type"]),
                  (9994, 1000, SHAPE_TYPES[geometry_type]))
            check(f"{header_of} box", header["box"], extent)


def check_projection_files(out):
    """Each file is named after the EPSG code GDAL must find in it; "custom_albers" has none."""
    osr, = need("osgeo.osr")
    for path in sorted(glob.glob(os.path.join(out, "*.prj"))):
        name = os.path.basename(path)[:-4]
        srs = osr.SpatialReference()
        with open(path) as f:
            if srs.ImportFromESRI([f.read()]) != 0:
                fail(f"{name}.prj: GDAL cannot read it")
                continue
        if name == "custom_albers":
            check(f"{name} projection", srs.GetAttrValue("PROJECTION"), "Albers_Conic_Equal_Area")
            check(f"{name} datum", srs.GetAttrValue("DATUM"), "North_American_Datum_1983")
            for param, value in [(osr.SRS_PP_STANDARD_PARALLEL_1, 30.0),
                                 (osr.SRS_PP_STANDARD_PARALLEL_2, 45.5),
                                 (osr.SRS_PP_LONGITUDE_OF_CENTER, -96.0),
                                 (osr.SRS_PP_LATITUDE_OF_CENTER, 23.0)]:
                check(f"{name} {param}", round(srs.GetProjParm(param), 9), value)
            continue
        matches = [(s, c) for s, c in srs.FindMatches() if s.GetAuthorityName(None) == "EPSG"]
        found = int(matches[0][0].GetAuthorityCode(None)) if matches and matches[0][1] >= 70 else None
        check(f"{name}.prj identifies as", found, int(name))


def main(format_samples, projection_samples):
    need("osgeo.ogr")
    with tempfile.TemporaryDirectory(prefix="formats-gdal-") as out:
        subprocess.run([format_samples, out], check=True)
        for sample in SAMPLES:
            check_sample(out, *sample)
        prj = os.path.join(out, "prj")
        os.mkdir(prj)
        run = subprocess.run([projection_samples, prj], capture_output=True, text=True)
        print(run.stdout, end="")
        check("projection file samples", (run.returncode, run.stderr), (0, ""))
        check_projection_files(prj)
    return finish(f"{len(SAMPLES)} samples and their projection files read back")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
