#!/usr/bin/env python3
"""Reads every real module file with iso8211dump and compares what it sees with the transfer:
each .DDF reads to status 4, and the number of data records of each module equals the count the
transfer's STAT module gives for it and, where GDAL's SDTS reader has a layer for the module,
GDAL's feature count.

usage: real_data_check.py ISO8211DUMP DATA_DIR
"""
import concurrent.futures
import glob
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from crosscheck import check, dump, fail, finish, need, real_inputs  # noqa: E402


def records(tool, path):
    """The dumped subfields grouped by record (a record ends on status 3 or 4); None on failure."""
    try:
        rows = dump(tool, path)
    except AssertionError as error:
        return fail(str(error))
    ends = [k + 1 for k, row in enumerate(rows) if row[3] in ("3", "4")]
    check(f"{path} ends with status 4", (rows[-1][3] if rows else None, ends[-1] if ends else 0), ("4", len(rows)))
    return [rows[a:b] for a, b in zip([0] + ends, ends)]


def values(record, tag):
    return {label: value.strip() for t, label, _, _, value in record if t == tag}


def main(tool, data):
    ogr, = need("osgeo.ogr")
    files = compared = 0
    for catalog in real_inputs(data, "sdts"):
        paths = sorted(glob.glob(os.path.join(os.path.dirname(catalog), "*.DDF")))
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:  # CI has two cores
            read = dict(zip(paths, pool.map(lambda p: records(tool, p), paths)))
        counts = {os.path.basename(p)[4:-4]: len(r) for p, r in read.items() if r is not None}
        files += len(counts)
        module_of = {values(r, "CATD").get("NAME"): os.path.basename(values(r, "CATD").get("FILE", ""))[4:-4]
                     for r in read[catalog]}
        expected = []
        for record in read[next(p for p in paths if p.endswith("STAT.DDF"))]:
            stat = values(record, "STAT")
            expected.append((module_of.get(stat["MNRF"], stat["MNRF"]), int(stat["NREC"]), "STAT"))
        for layer in ogr.Open(catalog):
            expected.append((layer.GetName(), layer.GetFeatureCount(), "GDAL"))
        # The catalog may list external modules the transfer does not hold.
        for module, count, source in expected:
            if module in counts:
                compared += 1
                check(f"{catalog}: {module} records against {source}", counts[module], count)
    return finish(f"{files} module files read, {compared} record counts compared")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
