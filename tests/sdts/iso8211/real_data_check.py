#!/usr/bin/env python3
"""Reads every real module file with iso8211dump and compares what it sees with the transfer.

Each .DDF must read to status 4 without a failed subfield; the number of data records of each
module must equal the count the transfer's STAT module gives for it and, where GDAL's SDTS reader
reports a layer for the module, GDAL's feature count. Skips (exit 0) without the data.
"""
import concurrent.futures
import glob
import os
import subprocess
import sys


def dump(tool, path):
    """The subfield lines of one file as (tag, label, format, status, value) tuples."""
    run = subprocess.run([tool, path], capture_output=True)
    if run.returncode != 0:
        raise AssertionError(f"{path}: iso8211dump failed: {run.stderr.decode(errors='replace').strip()}")
    rows = []
    for line in run.stdout.decode("latin-1").split("\n"):
        if line and not line.startswith("#"):
            rows.append(tuple(line.split("\t", 4)))
    return rows


def try_dump(tool, path):
    try:
        return dump(tool, path)
    except AssertionError as e:
        return e


def records(rows):
    """The records as lists of rows; a record ends on status 3 or 4."""
    out, current = [], []
    for row in rows:
        current.append(row)
        if row[3] in ("3", "4"):
            out.append(current)
            current = []
    if current:
        raise AssertionError("subfields after the last end of record")
    return out


def record_values(record, tag):
    return {label: value.strip() for t, label, _fmt, _status, value in record if t == tag}


def gdal_counts(catalog):
    try:
        from osgeo import ogr
    except ImportError:
        return None
    ds = ogr.Open(catalog)
    if ds is None:
        return {}
    return {ds.GetLayer(i).GetName(): ds.GetLayer(i).GetFeatureCount() for i in range(ds.GetLayerCount())}


def check_transfer(tool, folder):
    failures, checked = [], 0
    counts = {}
    paths = sorted(glob.glob(os.path.join(folder, "*.DDF")))
    # CI has two cores; the dumps dominate the run time.
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        dumps = dict(zip(paths, pool.map(lambda p: try_dump(tool, p), paths)))
    for path in paths:
        rows = dumps[path]
        if isinstance(rows, AssertionError):
            failures.append(str(rows))
            continue
        try:
            recs = records(rows)
        except AssertionError as e:
            failures.append(f"{path}: {e}")
            continue
        if not recs or recs[-1][-1][3] != "4":
            failures.append(f"{path}: does not end with status 4")
        counts[os.path.basename(path)[4:-4]] = len(recs)

    catalog = glob.glob(os.path.join(folder, "*CATD.DDF"))[0]
    module_files = {}
    for rec in records(dumps[catalog]):
        v = record_values(rec, "CATD")
        module_files[v.get("NAME")] = os.path.basename(v.get("FILE", ""))[4:-4]
    stat = glob.glob(os.path.join(folder, "*STAT.DDF"))[0]
    for rec in records(dumps[stat]):
        v = record_values(rec, "STAT")
        module, expected = v.get("MNRF"), int(v.get("NREC", "-1"))
        name = module_files.get(module, module)
        if name not in counts:
            continue  # an external module the catalog lists but the transfer does not hold
        checked += 1
        if counts[name] != expected:
            failures.append(f"{folder}: {module}: {counts[name]} records, STAT says {expected}")

    gdal = gdal_counts(catalog)
    if gdal is None:
        print("GDAL's Python bindings are absent: feature counts not compared")
    else:
        for layer, n in gdal.items():
            if layer in counts:
                checked += 1
                if counts[layer] != n:
                    failures.append(f"{folder}: {layer}: {counts[layer]} records, GDAL reports {n}")
    return failures, checked, len(counts)


def main():
    tool, data = sys.argv[1], sys.argv[2]
    folders = sorted(d for d in glob.glob(os.path.join(data, "sdts", "*")) if glob.glob(os.path.join(d, "*CATD.DDF")))
    if not folders:
        print(f"real SDTS data not found under {data}: skipped")
        return 0
    failures, checked, files = [], 0, 0
    for folder in folders:
        f, c, n = check_transfer(tool, folder)
        failures += f
        checked += c
        files += n
    for f in failures:
        print("FAIL:", f)
    print(f"{files} module files read, {checked} record counts compared, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
