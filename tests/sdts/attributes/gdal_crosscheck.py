#!/usr/bin/python3
"""Attribute tables read back by GDAL, an independent reader.

    gdal_crosscheck.py ATTRIBUTE_TABLES_TOOL SHARED_DATA_DIR

1. A module whose values vary in length from record to record: every value comes back
   intact from its padded column.
2. Every attribute module of every real transfer: each table's header counts exactly the
   rows present, and every value equals what GDAL's own SDTS reader gives for that module
   (its attribute layers), column by column through our field-name table.

Skips (exit 0) when GDAL or the real data is absent."""

import glob
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import gdal_readback  # noqa: E402

FAILURES = []


def check(what, got, expected):
    if got != expected:
        FAILURES.append(f"{what}: got {got!r}, expected {expected!r}")


def check_rows_present(path):
    """The header's record count equals the rows the file holds (an end mark may follow)."""
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    rows = (len(data) - header_length) // record_length
    check(f"{os.path.basename(path)} rows present", rows, count)
    check(f"{os.path.basename(path)} trailing bytes",
          (len(data) - header_length) % record_length in (0, 1), True)


def check_sample(tool, work):
    out = os.path.join(work, "sample")
    subprocess.run([tool, "--sample", out], check=True)
    table = os.path.join(out, "1234ARDM.dbf")
    check_rows_present(table)
    result = gdal_readback.read(table)
    check("sample values", [list(r["values"].values()) for r in result["records"]],
          [[1, "SR 4", "State", 2], [10, "US 3 ALTERNATE", None, 12],
           [100, "I 495", "Interstate", 4], [1000, None, "Town", 1]])


def same_value(ours, theirs):
    if isinstance(theirs, str):  # GDAL's dBase reader trims blanks on both sides
        return (ours or "") == theirs.strip()
    if ours is None:  # a blank number: GDAL's SDTS reader gives 0
        return theirs in (0, None)
    return abs(float(ours) - float(theirs)) < 1e-9


def field_names(names_table):
    """Full column name -> dBase field name, from our field-name table."""
    return {r["values"]["Alias"]: r["values"]["Field_Name"]
            for r in gdal_readback.read(names_table)["records"]}


def check_transfer(tool, work, transfer):
    from osgeo import ogr
    catalog = glob.glob(os.path.join(transfer, "*CATD.DDF"))[0]
    modules = [m for m in sorted(glob.glob(os.path.join(transfer, "*.DDF")))
               if os.path.basename(m)[4] in "AB"]
    out = os.path.join(work, os.path.basename(transfer))
    subprocess.run([tool, out] + modules, check=True)
    sdts = ogr.Open(catalog)
    for module in modules:
        stem = os.path.basename(module).split(".")[0]
        name = stem[4:]
        table = os.path.join(out, stem + ".dbf")
        names_table = os.path.join(out, stem + "(Name).dbf")
        check_rows_present(table)
        check_rows_present(names_table)
        ours = gdal_readback.read(table)
        columns = field_names(names_table)
        layer = sdts.GetLayerByName(name)
        definition = layer.GetLayerDefn()
        theirs = [[f.GetField(i) for i in range(definition.GetFieldCount())] for f in layer]
        labels = [definition.GetFieldDefn(i).GetName() for i in range(definition.GetFieldCount())]
        where = f"{os.path.basename(transfer)} {name}"
        check(f"{where} record count", len(ours["records"]), len(theirs))
        mapped = [columns.get(name + "_RCID" if label == "RCID" else label) for label in labels]
        check(f"{where} columns for {labels}", None in mapped, False)
        if None in mapped:
            continue
        bad = 0
        for record, values in zip(ours["records"], theirs):
            for field, value in zip(mapped, values):
                if not same_value(record["values"][field], value):
                    bad += 1
                    if bad <= 5:
                        FAILURES.append(f"{where} record {values[0]} {field}: got "
                                        f"{record['values'][field]!r}, GDAL's SDTS reader "
                                        f"{value!r}")
        check(f"{where} differing values", bad, 0)


def main(argv):
    if len(argv) != 3:
        print("usage: gdal_crosscheck.py ATTRIBUTE_TABLES_TOOL SHARED_DATA_DIR", file=sys.stderr)
        return 2
    if not gdal_readback.available():
        print("skipped:", gdal_readback.skip_reason())
        return 0
    tool, data = argv[1], argv[2]
    with tempfile.TemporaryDirectory(prefix="attr_gdal_") as work:
        check_sample(tool, work)
        transfers = sorted(glob.glob(os.path.join(data, "sdts", "*")))
        if not transfers:
            print("real transfers skipped: no data in", data)
        for transfer in transfers:
            check_transfer(tool, work, transfer)
    for failure in FAILURES:
        print("FAIL:", failure)
    print(f"{len(FAILURES)} failures")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
