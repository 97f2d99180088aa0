#!/usr/bin/python3
"""Our attribute tables read back by GDAL, an independent reader.

    gdal_crosscheck.py SAMPLE_TOOL LIBFERROLINK ISO8211DUMP SHARED_DATA_DIR

A module whose values vary in length from record to record: every value comes back intact
from its padded column. Every real transfer, converted by Display: every table in the run
directory counts exactly the rows it holds; every attribute table holds what GDAL's SDTS
reader gives for its module; every join table has one row per attribute reference of its
object module, in module order (a road carrying three route numbers has three rows), each
followed by the referenced attribute record; GDAL's object layers (which keep only the last
reference into a module) agree with our last row of each object; and the hypsography merge
put each contour's elevation into the line shapefile's table.

Skips (exit 0) when GDAL or the real data is absent."""

import ctypes
import glob
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import gdal_readback  # noqa: E402

FAILURES = []
JOIN_TABLE = re.compile(r"^([A-Za-z]{2}\d\d)_(.{4})([AB]\w+)\.dbf$")
ATTRIBUTE_TABLE = re.compile(r"^(.{4})([AB]\w+)\.dbf$")


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


def field_names(run_dir, stem):
    """Full column name -> dBase field name, from our field-name table."""
    names = gdal_readback.read(os.path.join(run_dir, stem + "(Name).dbf"))
    return {r["values"]["Alias"]: r["values"]["Field_Name"] for r in names["records"]}


def check_sample(tool, work):
    out = os.path.join(work, "sample")
    subprocess.run([tool, out], check=True)
    table = os.path.join(out, "1234ARDM.dbf")
    check_rows_present(table)
    check("sample values",
          [list(r["values"].values()) for r in gdal_readback.read(table)["records"]],
          [[1, "SR 4", "State", 2], [10, "US 3 ALTERNATE", None, 12],
           [100, "I 495", "Interstate", 4], [1000, None, "Town", 1]])


def check_attribute_table(transfer, run_dir, sdts, name):
    prefix, module = ATTRIBUTE_TABLE.match(name).groups()
    where = f"{os.path.basename(transfer)} {name}"
    columns = field_names(run_dir, prefix + module)
    labels, records = layer_records(sdts, module)
    columns["RCID"] = columns[module + "_RCID"]
    rows = gdal_readback.read(os.path.join(run_dir, name))["records"]
    check(f"{where} records", [r["values"][columns["RCID"]] for r in rows], list(records))
    for row in rows:
        record = records[row["values"][columns["RCID"]]]
        compare(f"{where} record {record['RCID']}", row, record, labels, columns)


def check_join_table(transfer, run_dir, sdts, dump_tool, name):
    object_module, prefix, attr_module = JOIN_TABLE.match(name).groups()
    where = f"{os.path.basename(transfer)} {name}"
    rows = gdal_readback.read(os.path.join(run_dir, name))["records"]
    id_field, rcid_field = list(rows[0]["values"])[:2] if rows else (None, None)
    module_file = glob.glob(os.path.join(transfer, prefix + object_module + ".DDF"))[0]
    expected = [(o, a) for o, m, a in references(dump_tool, module_file) if m == attr_module]
    check(f"{where} rows (object id, attribute id)",
          [(r["values"][id_field], r["values"][rcid_field]) for r in rows], expected)

    columns = field_names(run_dir, prefix + attr_module)
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
    if len(argv) != 5:
        print("usage: gdal_crosscheck.py SAMPLE_TOOL LIBFERROLINK ISO8211DUMP SHARED_DATA_DIR",
              file=sys.stderr)
        return 2
    if not gdal_readback.available():
        print("skipped:", gdal_readback.skip_reason())
        return 0
    from osgeo import ogr
    sample_tool, library, dump_tool, data = argv[1:]
    transfers = sorted(glob.glob(os.path.join(data, "sdts", "*")))
    if not transfers:
        print("real transfers skipped: no data in", data)
    display = ctypes.CDLL(library).Display
    with tempfile.TemporaryDirectory(prefix="attr_gdal_") as work:
        check_sample(sample_tool, work)
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
                elif ATTRIBUTE_TABLE.match(name):
                    check_attribute_table(transfer, run_dir, sdts, name)
            check(f"{transfer} has join rows", joined > 0, True)
            check_merge(transfer, run_dir, sdts)
            print(f"{os.path.basename(transfer)}: {joined} join rows checked")
    for failure in FAILURES[:40]:
        print("FAIL:", failure)
    print(f"{len(FAILURES)} failures")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
