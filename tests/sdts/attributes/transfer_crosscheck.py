#!/usr/bin/python3
"""Whole transfers converted by Display, their attribute tables read back by GDAL.

    transfer_crosscheck.py LIBFERROLINK ISO8211DUMP SHARED_DATA_DIR

For every real transfer: every table in the run directory counts exactly the rows it
holds; every join table has one row per attribute reference of its object module, in
module order (a road carrying three route numbers has three rows), each followed by the
referenced attribute record as GDAL's SDTS reader gives it; GDAL's own object layers (which
keep only the last reference into a module) agree with our last row of each object; and
the hypsography merge put each contour's elevation into the line shapefile's table.

Skips (exit 0) when GDAL or the real data is absent."""

import ctypes
import glob
import os
import re
import struct
import subprocess
import sys
import tempfile
from collections import defaultdict

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import gdal_readback  # noqa: E402

FAILURES = []
JOIN_TABLE = re.compile(r"^([A-Za-z]{2}\d\d)_(.{4})([AB]\w+)\.dbf$")


def check(what, got, expected):
    if got != expected:
        FAILURES.append(f"{what}: got {got!r}, expected {expected!r}")


def check_rows_present(path):
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    check(f"{os.path.basename(path)} rows present", (len(data) - header_length) // record_length,
          count)


def references(dump_tool, module_file):
    """(object record id, attribute module, attribute record id) for every attribute
    reference of the module, in module order."""
    out = subprocess.run([dump_tool, module_file], check=True, capture_output=True,
                         text=True).stdout
    refs, object_id, modn = [], None, None
    for line in out.splitlines():
        if line.startswith("#"):
            continue
        tag, label, _, status, value = (line.split("\t") + [""] * 5)[:5]
        if tag == "ATID" and label.endswith("MODN"):
            modn = value.strip()
        elif tag == "ATID" and label.endswith("RCID"):
            refs.append((object_id, modn, int(value)))
        elif label == "RCID" and tag != "0001" and object_id is None:
            object_id = int(value)
        if status in ("3", "4"):
            object_id = None
    return refs


def same_value(ours, theirs):
    if isinstance(theirs, str):
        return (ours or "") == theirs.strip()
    if ours is None:
        return theirs in (0, None)
    return theirs is not None and abs(float(ours) - float(theirs)) < 1e-9


def layer_records(sdts, name):
    layer = sdts.GetLayerByName(name)
    definition = layer.GetLayerDefn()
    labels = [definition.GetFieldDefn(i).GetName() for i in range(definition.GetFieldCount())]
    return labels, {f.GetField("RCID"): dict(zip(labels, (f.GetField(i) for i in
                                                          range(len(labels))))) for f in layer}


def compare(where, row, record, labels, columns):
    bad = [label for label in labels
           if not same_value(row["values"][columns[label]], record[label])]
    if bad:
        FAILURES.append(f"{where}: {bad[0]} got {row['values'][columns[bad[0]]]!r}, "
                        f"GDAL's SDTS reader {record[bad[0]]!r}")


def check_join_table(transfer, run_dir, sdts, dump_tool, name):
    object_module, prefix, attr_module = JOIN_TABLE.match(name).groups()
    where = f"{os.path.basename(transfer)} {name}"
    rows = gdal_readback.read(os.path.join(run_dir, name))["records"]
    id_field, rcid_field = list(rows[0]["values"])[:2] if rows else (None, None)
    module_file = glob.glob(os.path.join(transfer, prefix + object_module + ".DDF"))[0]
    expected = [(o, a) for o, m, a in references(dump_tool, module_file) if m == attr_module]
    check(f"{where} rows (object id, attribute id)",
          [(r["values"][id_field], r["values"][rcid_field]) for r in rows], expected)

    names = gdal_readback.read(os.path.join(run_dir, prefix + attr_module + "(Name).dbf"))
    columns = {r["values"]["Alias"]: r["values"]["Field_Name"] for r in names["records"]}
    attr_labels, attr_records = layer_records(sdts, attr_module)
    labels = [label for label in attr_labels if label != "RCID"]
    last_row = {}
    for row in rows:
        attr_id = row["values"][rcid_field]
        compare(f"{where} attribute record {attr_id}", row, attr_records[attr_id], labels, columns)
        last_row[row["values"][id_field]] = row
    _, objects = layer_records(sdts, object_module)
    for object_id, row in last_row.items():
        compare(f"{where} {object_module} record {object_id}", row, objects[object_id], labels,
                columns)
    return len(rows)


def check_merge(transfer, run_dir, sdts):
    """Each contour line's table row carries the elevation of its first AHPR reference."""
    shape_tables = glob.glob(os.path.join(run_dir, "*_LE01_.dbf"))
    joins = glob.glob(os.path.join(run_dir, "LE01_*AHPR.dbf"))
    if not joins:
        return
    first = {}
    for row in gdal_readback.read(joins[0])["records"]:
        first.setdefault(row["values"]["LE01_id"], row["values"]["ELEVATION"])
    merged = gdal_readback.read(shape_tables[0])["records"]
    got = {r["values"]["LE01_ID"]: r["values"]["ELEVATION"] for r in merged}
    check(f"{os.path.basename(transfer)} merged elevations",
          {k: v for k, v in got.items() if v is not None}, first)
    check(f"{os.path.basename(transfer)} merged rows", len(merged),
          sdts.GetLayerByName("LE01").GetFeatureCount())


def main(argv):
    if len(argv) != 4:
        print("usage: transfer_crosscheck.py LIBFERROLINK ISO8211DUMP SHARED_DATA_DIR",
              file=sys.stderr)
        return 2
    if not gdal_readback.available():
        print("skipped:", gdal_readback.skip_reason())
        return 0
    from osgeo import ogr
    library, dump_tool, data = argv[1:]
    transfers = sorted(glob.glob(os.path.join(data, "sdts", "*")))
    if not transfers:
        print("skipped: no real transfers in", data)
        return 0
    display = ctypes.CDLL(library).Display
    with tempfile.TemporaryDirectory(prefix="attr_transfer_") as work:
        for transfer in transfers:
            out = os.path.join(work, os.path.basename(transfer))
            os.makedirs(out)
            catalog = glob.glob(os.path.join(transfer, "*CATD.DDF"))[0]
            check(f"{transfer} Display", display(catalog.encode(), out.encode()), 0)
            with open(os.path.join(out, "names.txt")) as f:
                run_dir = os.path.join(out, f.readline().strip())
            sdts = ogr.Open(catalog)
            joined = 0
            for path in sorted(glob.glob(os.path.join(run_dir, "*.dbf"))):
                check_rows_present(path)
                name = os.path.basename(path)
                if JOIN_TABLE.match(name):
                    joined += check_join_table(transfer, run_dir, sdts, dump_tool, name)
            check(f"{transfer} has join rows", joined > 0, True)
            check_merge(transfer, run_dir, sdts)
            print(f"{os.path.basename(transfer)}: {joined} join rows checked")
    for failure in FAILURES[:40]:
        print("FAIL:", failure)
    print(f"{len(FAILURES)} failures")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
