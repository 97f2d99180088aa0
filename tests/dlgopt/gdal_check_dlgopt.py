#!/usr/bin/python3
"""Converts every real DLG-3 optional-format file (and a synthetic one) through the exported
entry and reads every shapefile and table back with GDAL: each opens and reads whole, each
shapefile has as many table rows as shapes, and the node, line and area counts equal the counts
of the file's category record.

usage: gdal_check_dlgopt.py CONVERT_INPUTS MAKE_DLGOPT DATA_DIR
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import check, dlg_records, finish, need, optional_files  # noqa: E402


def category_counts(path):
    records = dlg_records(path)
    control_points, categories = int(records[3][54:60] or 0), int(records[3][60:66] or 0)
    category = records[10 + control_points + categories - 1]
    return {"nodes": int(category[30:36]), "areas": int(category[46:52]),
            "links": int(category[62:68])}


def features_read(ogr, path):
    """Features GDAL reads from the file, one by one (every geometry and row is parsed)."""
    source = ogr.Open(path)
    layer = source.GetLayer(0)
    count = 0
    for feature in layer:
        feature.GetGeometryRef()
        count += 1
    check(f"{path} features read", count, layer.GetFeatureCount())
    return count


def main(converter, make_dlgopt, data):
    ogr, = need("osgeo.ogr")
    ogr.UseExceptions()
    with tempfile.TemporaryDirectory(prefix="dlgopt_gdal") as out:
        inputs = optional_files(data)
        if not inputs:
            print("real DLG-3 optional files not found under", data, "- the synthetic one only")
        inputs.append(os.path.join(out, "synthetic.opt"))
        subprocess.run([make_dlgopt, inputs[-1], "--lines", "301", "--form", "short"], check=True,
                       stdout=subprocess.DEVNULL)
        result = subprocess.run([converter, "opt", out] + inputs, check=True, capture_output=True,
                                text=True)
        for line in result.stdout.splitlines():
            code, path = line.split(" ", 1)
            base = os.path.splitext(os.path.basename(path))[0].replace(".", "_")
            run = os.path.join(out, base + "shp")
            check(f"{path} result", code, "0")
            for suffix, count in category_counts(path).items():
                check(f"{base}{suffix} shapes and rows",
                      [features_read(ogr, os.path.join(run, base + suffix + ext)) for ext in (".shp", ".dbf")],
                      [count, count])
            for name in sorted(os.listdir(run)):
                if name.endswith(".dbf"):
                    features_read(ogr, os.path.join(run, name))
    return finish(f"{len(inputs)} files converted and read back by GDAL")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
