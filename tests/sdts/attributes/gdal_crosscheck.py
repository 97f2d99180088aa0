#!/usr/bin/python3
"""Our attribute tables read back by GDAL, an independent reader.

A module whose values vary in length from record to record: every value comes back intact from
its padded column. Every real transfer, converted whole: every table in the run directory holds
the rows its header counts; every attribute table holds what GDAL's SDTS reader gives for its
module; every join table has one row per attribute reference of its object module, in module
order (a road carrying three route numbers has three rows), each followed by the referenced
attribute record; GDAL's object layers (which keep only the last reference into a module) agree
with our last row of each object; and the hypsography merge put each contour's elevation into
the line shapefile's table.

usage: gdal_crosscheck.py SAMPLE_TOOL CONVERT_INPUTS ISO8211DUMP DATA_DIR
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from crosscheck import (catalogs, check, convert_transfer, dump, fail, finish, need, ogr_read,  # noqa: E402
                        read_dbf)

JOIN_TABLE = re.compile(r"^([A-Za-z]{2}\d\d)_(.{4})([AB]\w+)\.dbf$")
ATTRIBUTE_TABLE = re.compile(r"^(.{4})([AB]\w+)\.dbf$")


def references(tool, module_file):
    """(object record id, attribute module, attribute record id) of every attribute reference
    of the module, in module order."""
    refs, object_id, modn = [], None, None
    for tag, label, _, status, value in dump(tool, module_file):
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
    return labels, {f.GetField("RCID"): dict(zip(labels, (f.GetField(i) for i in range(len(labels)))))
                    for f in layer}


def compare(where, row, record, labels, columns):
    bad = [label for label in labels if not same_value(row["values"][columns[label]], record[label])]
    if bad:
        fail(f"{where}: {bad[0]} got {row['values'][columns[bad[0]]]!r}, GDAL's SDTS reader {record[bad[0]]!r}")


def field_names(run, stem):
    """Full column name -> dBase field name, from our field-name table."""
    names = ogr_read(os.path.join(run, stem + "(Name).dbf"))["records"]
    return {r["values"]["Alias"]: r["values"]["Field_Name"] for r in names}


def check_attribute_table(where, run, sdts, name):
    prefix, module = ATTRIBUTE_TABLE.match(name).groups()
    columns = field_names(run, prefix + module)
    labels, records = layer_records(sdts, module)
    columns["RCID"] = columns[module + "_RCID"]
    rows = ogr_read(os.path.join(run, name))["records"]
    check(f"{where} records", [r["values"][columns["RCID"]] for r in rows], list(records))
    for row in rows:
        record = records[row["values"][columns["RCID"]]]
        compare(f"{where} record {record['RCID']}", row, record, labels, columns)


def check_join_table(where, transfer, run, sdts, tool, name):
    object_module, prefix, attr_module = JOIN_TABLE.match(name).groups()
    rows = ogr_read(os.path.join(run, name))["records"]
    id_field, rcid_field = list(rows[0]["values"])[:2] if rows else (None, None)
    module_file = glob.glob(os.path.join(transfer, prefix + object_module + ".DDF"))[0]
    check(f"{where} rows (object id, attribute id)",
          [(r["values"][id_field], r["values"][rcid_field]) for r in rows],
          [(o, a) for o, m, a in references(tool, module_file) if m == attr_module])
    columns = field_names(run, prefix + attr_module)
    attr_labels, attr_records = layer_records(sdts, attr_module)
    labels = [label for label in attr_labels if label != "RCID"]
    last_row = {}
    for row in rows:
        attr_id = row["values"][rcid_field]
        compare(f"{where} attribute record {attr_id}", row, attr_records[attr_id], labels, columns)
        last_row[row["values"][id_field]] = row
    _, objects = layer_records(sdts, object_module)
    for object_id, row in last_row.items():
        compare(f"{where} {object_module} record {object_id}", row, objects[object_id], labels, columns)
    return len(rows)


def check_merge(where, run, sdts):
    """Each contour line's table row carries the elevation of its first AHPR reference."""
    joins = glob.glob(os.path.join(run, "LE01_*AHPR.dbf"))
    if not joins:
        return
    first = {}
    for row in ogr_read(joins[0])["records"]:
        first.setdefault(row["values"]["LE01_id"], row["values"]["ELEVATION"])
    merged = ogr_read(glob.glob(os.path.join(run, "*_LE01_.dbf"))[0])["records"]
    got = {r["values"]["LE01_ID"]: r["values"]["ELEVATION"] for r in merged}
    check(f"{where} merged elevations", {k: v for k, v in got.items() if v is not None}, first)
    check(f"{where} merged rows", len(merged), sdts.GetLayerByName("LE01").GetFeatureCount())


def main(sample_tool, converter, tool, data):
    ogr, = need("osgeo.ogr")
    with tempfile.TemporaryDirectory(prefix="attr_gdal_") as work:
        os.environ["TEMP"] = work
        sample = os.path.join(work, "sample")
        subprocess.run([sample_tool, sample], check=True)
        read_dbf(os.path.join(sample, "1234ARDM.dbf"))
        check("sample values", [list(r["values"].values()) for r in ogr_read(os.path.join(sample, "1234ARDM.dbf"))["records"]],
              [[1, "SR 4", "State", 2], [10, "US 3 ALTERNATE", None, 12], [100, "I 495", "Interstate", 4],
               [1000, None, "Town", 1]])
        for catalog in catalogs(data):
            transfer = os.path.dirname(catalog)
            run = convert_transfer(converter, catalog, os.path.join(work, os.path.basename(transfer)))
            if run is None:
                continue
            sdts = ogr.Open(catalog)
            joined = 0
            for path in sorted(glob.glob(os.path.join(run, "*.dbf"))):
                read_dbf(path)
                name = os.path.basename(path)
                where = f"{os.path.basename(transfer)} {name}"
                if JOIN_TABLE.match(name):
                    joined += check_join_table(where, transfer, run, sdts, tool, name)
                elif ATTRIBUTE_TABLE.match(name):
                    check_attribute_table(where, run, sdts, name)
            check(f"{transfer} has join rows", joined > 0, True)
            check_merge(os.path.basename(transfer), run, sdts)
            print(f"{os.path.basename(transfer)}: {joined} join rows checked")
    return finish("attribute tables of every real transfer checked")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
