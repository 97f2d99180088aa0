#!/usr/bin/env python3
"""Reads every real module file with iso8211dump and compares what it sees with the transfer:
each .DDF reads to status 4 without a failed subfield, and the number of data records of each
module equals the count the transfer's STAT module gives for it and, where GDAL's SDTS reader
reports a layer for the module, GDAL's feature count.

usage: real_data_check.py ISO8211DUMP DATA_DIR
"""
import concurrent.futures
import glob
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from crosscheck import catalogs, check, dump, fail, finish, records  # noqa: E402


def try_records(tool, path):
    try:
        return records(dump(tool, path))
    except AssertionError as error:
        return error


def values(record, tag):
    return {label: value.strip() for t, label, _, _, value in record if t == tag}


def check_transfer(tool, catalog, ogr):
    folder = os.path.dirname(catalog)
    paths = sorted(glob.glob(os.path.join(folder, "*.DDF")))
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:  # CI has two cores
        read = dict(zip(paths, pool.map(lambda p: try_records(tool, p), paths)))
    counts = {}
    for path, recs in read.items():
        if isinstance(recs, AssertionError):
            fail(f"{path}: {recs}")
            continue
        check(f"{path} ends with status 4", bool(recs) and recs[-1][-1][3], "4")
        counts[os.path.basename(path)[4:-4]] = len(recs)
    module_files = {values(r, "CATD").get("NAME"): os.path.basename(values(r, "CATD").get("FILE", ""))[4:-4]
                    for r in read[catalog]}
    compared = 0
    for rec in read[glob.glob(os.path.join(folder, "*STAT.DDF"))[0]]:
        stat = values(rec, "STAT")
        name = module_files.get(stat.get("MNRF"), stat.get("MNRF"))
        if name in counts:  # the catalog may list external modules the transfer does not hold
            compared += 1
            check(f"{folder}: {stat.get('MNRF')} records against STAT", counts[name], int(stat.get("NREC", "-1")))
    if ogr is None:
        print("GDAL's Python bindings are absent: feature counts not compared")
        return len(counts), compared
    source = ogr.Open(catalog)
    for layer in (source.GetLayer(i) for i in range(source.GetLayerCount())):
        if layer.GetName() in counts:
            compared += 1
            check(f"{folder}: {layer.GetName()} records against GDAL", counts[layer.GetName()],
                  layer.GetFeatureCount())
    return len(counts), compared


def main(tool, data):
    try:
        from osgeo import ogr
    except ImportError:
        ogr = None
    files = compared = 0
    for catalog in catalogs(data):
        f, c = check_transfer(tool, catalog, ogr)
        files, compared = files + f, compared + c
    return finish(f"{files} module files read, {compared} record counts compared")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
