#!/usr/bin/python3
"""Writes sample shapefiles and tables with our writers (format_samples) and reads them
back through GDAL: geometry types, counts, extents, fields and values must match."""

import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import gdal_readback  # noqa: E402

FAILURES = []


def check(what, got, expected):
    if got != expected:
        FAILURES.append(f"{what}: got {got!r}, expected {expected!r}")


def same_numbers(wkt):
    """WKT with every number in one spelling (GDAL writes 499900 as "499900.0" at times)."""
    return re.sub(r"-?\d+(\.\d+)?(e[-+]?\d+)?", lambda m: repr(float(m.group())), wkt or "")


def check_file(path, geometry_type, extent, fields, values, wkts):
    name = os.path.basename(path)
    before = len(FAILURES)
    result = gdal_readback.read(path)
    check(f"{name} geometry type", result["geometry_type"], geometry_type)
    check(f"{name} feature count", result["feature_count"], len(values))
    check(f"{name} extent", result["extent"], extent)
    check(f"{name} fields",
          [(f["name"], f["type"], f["width"], f["precision"]) for f in result["fields"]], fields)
    check(f"{name} values", [list(r["values"].values()) for r in result["records"]], values)
    headers = result["headers"]
    if headers is not None:
        for which, header in headers.items():
            check(f"{name} {which} length", header["file_length_words"] * 2, header["file_bytes"])
            check(f"{name} {which} code, version, type",
                  (header["file_code"], header["version"], header["shape_type"]),
                  (9994, 1000, {"Point": 1, "LineString": 3, "Polygon": 5}[geometry_type]))
            check(f"{name} {which} box", {k: header[k] for k in ("xmin", "ymin", "xmax", "ymax")},
                  extent)
    if wkts is not None:
        check(f"{name} geometries", [same_numbers(r["wkt"]) for r in result["records"]],
              [same_numbers(w) for w in wkts])
    return len(FAILURES) == before


def main(argv):
    if not gdal_readback.available():
        print("SKIP: " + gdal_readback.skip_reason())
        return 0
    with tempfile.TemporaryDirectory(prefix="formats-gdal-") as out:
        subprocess.run([argv[1], out], check=True)
        passed = 0
        p = lambda name: os.path.join(out, name)  # noqa: E731
        passed += check_file(p("nodes.shp"), "Point",
                   {"xmin": 499900.0, "ymin": 4199990.5, "xmax": 500100.0, "ymax": 4200050.0},
                   [("NO01_ID", "Integer", 8, 0)], [[1], [2], [3]],
                   ["POINT (500000.5 4200000.25)", "POINT (500100 4200050)",
                    "POINT (499900 4199990.5)"])
        passed += check_file(p("lines.shp"), "LineString",
                   {"xmin": 0.0, "ymin": -4.0, "xmax": 22.0, "ymax": 5.0},
                   [("LE01_ID", "Integer64", 10, 0), ("DESCRIPTIO", "String", 12, 0)],
                   [[1, "Stream"], [2, "Canal ditch"]],
                   ["LINESTRING (0 0,10 5)", "MULTILINESTRING ((1 1,2 2),(20 -3,21 -4,22 -3))"])
        passed += check_file(p("polygons.shp"), "Polygon",
                   {"xmin": 0.0, "ymin": 0.0, "xmax": 10.0, "ymax": 10.0},
                   [("PC01_id", "Integer", 8, 0)], [[7]],
                   ["POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))"])
        passed += check_file(p("joined.dbf"), "None", None,
                   [("NO01_id", "Integer64", 10, 0), ("ATTRIBUTE_", "String", 16, 0),
                    ("ELEVATION", "Real", 8, 2)],
                   [[1, "Spot height", 12.5], [2, "Benchmark", -3.25]], None)
    for failure in FAILURES:
        print("FAIL: " + failure)
    print(f"{passed} passed, {4 - passed} failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
