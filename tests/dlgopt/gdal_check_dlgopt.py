#!/usr/bin/python3
"""Converts every real DLG-3 optional-format file (and a synthetic one) through quoinlink's
exported entry and reads every shapefile and table back with GDAL: each opens, each
shapefile has as many table rows as shapes, and the node, line and area counts equal the
counts of the file's category record.

usage: gdal_check_dlgopt.py CONVERT_PROGRAM MAKE_DLGOPT SHARED_DATA_DIR
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import gdal_readback  # noqa: E402


def category_counts(path):
    with open(path, "rb") as f:
        data = f.read()
    records = [data[i:i + 80] for i in range(0, len(data), 80)]
    if b"\n" in data[:99]:
        records = [line.rstrip(b"\r").ljust(80) for line in data.split(b"\n")]
    record4 = records[3]
    control_points = int(record4[54:60] or 0)
    categories = int(record4[60:66] or 0)
    category = records[10 + control_points + categories - 1]
    return {"nodes": int(category[30:36]), "areas": int(category[46:52]), "lines": int(category[62:68])}


def features_read(path):
    """Features GDAL reads from the file, one by one (every geometry and row is parsed)."""
    from osgeo import ogr
    source = ogr.Open(path)
    if source is None or source.GetLayerCount() != 1:
        raise gdal_readback.ReadbackError(f"GDAL cannot open {path} as one layer")
    layer = source.GetLayer(0)
    count = 0
    for feature in layer:
        feature.GetGeometryRef()
        count += 1
    if count != layer.GetFeatureCount():
        raise gdal_readback.ReadbackError(f"{path}: {count} features read of {layer.GetFeatureCount()}")
    return count


def check_run(run_dir, base, counts, failures):
    expected = {"nodes": counts["nodes"], "links": counts["lines"], "areas": counts["areas"]}
    for suffix, count in expected.items():
        shapes = features_read(os.path.join(run_dir, base + suffix + ".shp"))
        rows = features_read(os.path.join(run_dir, base + suffix + ".dbf"))
        if shapes != count or rows != count:
            failures.append(f"{base}{suffix}: {shapes} shapes, {rows} rows, header says {count}")
    for name in sorted(os.listdir(run_dir)):
        if name.endswith(".dbf"):
            features_read(os.path.join(run_dir, name))


def main(convert, make_dlgopt, data_dir):
    if not gdal_readback.available():
        print("skipped:", gdal_readback.skip_reason())
        return 0
    with tempfile.TemporaryDirectory(prefix="dlgopt_gdal") as out:
        inputs = []
        real_dir = os.path.join(data_dir, "dlg3-optional")
        if os.path.isdir(real_dir):
            inputs += sorted(os.path.join(real_dir, n) for n in os.listdir(real_dir) if n.endswith(".opt"))
        else:
            print("real DLG-3 optional files not found in", real_dir, "- checking the synthetic one only")
        synthetic = os.path.join(out, "synthetic.opt")
        subprocess.run([make_dlgopt, synthetic, "--lines", "301", "--form", "short"], check=True,
                       stdout=subprocess.DEVNULL)
        inputs.append(synthetic)
        result = subprocess.run([convert, out] + inputs, check=True, capture_output=True, text=True)
        failures = []
        for line in result.stdout.splitlines():
            code, path = line.split(" ", 1)
            base = os.path.splitext(os.path.basename(path))[0].replace(".", "_")
            if code != "0":
                failures.append(f"{path}: result {code}")
                continue
            check_run(os.path.join(out, base + "shp"), base, category_counts(path), failures)
        for failure in failures:
            print("FAIL", failure)
        print(f"{len(inputs)} files converted and read back by GDAL, {len(failures)} failures")
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
