"""Converts every real SDTS transfer once and holds the run against independent readers.

Run files: names.txt, the document and the log say what the transfer's IDEN and XREF modules hold
as iso8211dump shows them; GDAL's layer extents lie inside the SPDM spatial domain and equal our
shapefiles' header boxes.

Attribute tables, read back by GDAL: every table holds the rows its header counts; every
attribute table holds what GDAL's SDTS reader gives for its module; every join table has one row
per attribute reference of its object module, in module order (a road carrying three route
numbers has three rows), each followed by the referenced attribute record; GDAL's object layers
(which keep only the last reference into a module) agree with our last row of each object; the
hypsography merge put each contour's elevation into the line shapefile's table. A module whose
values vary in length from record to record comes back intact from its padded columns.

Shapes: lines and points against GDAL's SDTS reader (same records, ids and coordinates within
1e-6). Debian 12's GDAL returns every SDTS polygon empty, so GEOS builds the faces
(shapely.ops.polygonize over all lines); each face inside the map must match our polygon of the
same id by area, and each of our polygons with closed rings must have its face. Every ring is
closed, outer rings clockwise and islands counter-clockwise; every shapefile opens in GDAL
without warnings, and its table and index have one row and one entry per shape.

usage: real_transfers_check.py CONVERT_INPUTS ISO8211DUMP VARIABLE_LENGTH_SAMPLE DATA_DIR
"""
import glob
import os
import re
import subprocess
import sys
import tempfile
import warnings

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import (catalogs, check, convert_transfer, dump, fail, finish, first, need,  # noqa: E402
                        ogr_read, read_dbf, read_shp, shape_header)

gdal, ogr, geometry, ops, prepared, strtree = need(
    "osgeo.gdal", "osgeo.ogr", "shapely.geometry", "shapely.ops", "shapely.prepared", "shapely.strtree")
TOLERANCE = 1e-6
# STRtree changes its interface in shapely 2; the calls used here behave the same in both.
warnings.filterwarnings("ignore", message="STRtree will be changed")
JOIN_TABLE = re.compile(r"^([A-Za-z]{2}\d\d)_(.{4})([AB]\w+)\.dbf$")
ATTRIBUTE_TABLE = re.compile(r"^(.{4})([AB]\w+)\.dbf$")


# Run files.

def text(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def check_run_files(folder, run, base, modules, tool):
    iden, xref = dump(tool, modules["IDEN"]), dump(tool, modules["XREF"])
    title, scale = first(iden, "IDEN", "TITL"), first(iden, "IDEN", "SCAL")
    rsnm, hdat, zone = (first(xref, "XREF", label) for label in ("RSNM", "HDAT", "ZONE"))
    check(f"{folder}: names.txt", text(os.path.join(os.path.dirname(run), "names.txt")),
          os.path.basename(run) + "\n" + title)
    doc, log = text(os.path.join(run, base + ".doc")), text(os.path.join(run, base + ".log"))
    for part in (f"\nTITLE:           {title}\nSCALE:           {int(scale)}\n",
                 f"\nReference System:           {rsnm}\nHorizontal Datum:           {hdat}\n"
                 f"ZONE:\t\t\t\t\t   {zone}\n", "\nCOMMENT:            "):
        check(f"{folder}: doc holds {part!r}", part in doc, True)
    for line in (f"Map Title: {title}\n", f"Map Scale: 1 to {scale}\n", f"Reference System: {rsnm}\n",
                 f"Horizontal Datum: {hdat}\n", f"Zone: {zone}\n"):
        check(f"{folder}: log holds {line!r}", line in log, True)


def check_extents(folder, run, catalog, modules, tool, ogr):
    """Returns how many layer extents were compared with ours."""
    iref = dump(tool, modules["IREF"])
    sfax, sfay, xorg, yorg = (float(first(iref, "IREF", label)) for label in ("SFAX", "SFAY", "XORG", "YORG"))
    spdm = dump(tool, modules["SPDM"]) if "SPDM" in modules else []
    xs = [int(v, 16) * sfax + xorg for t, l, _, _, v in spdm if t == "DMSA" and l == "!X"]
    ys = [int(v, 16) * sfay + yorg for t, l, _, _, v in spdm if t == "DMSA" and l == "!Y"]
    shapefiles = [n for n in os.listdir(run) if n.endswith(".shp")]
    compared = 0
    for layer in ogr.Open(catalog):
        name = layer.GetName()
        # Debian 12's GDAL returns SDTS polygons without geometry.
        if layer.GetGeomType() == ogr.wkbNone or layer.GetFeatureCount() == 0 or name.startswith("PC"):
            continue
        xmin, xmax, ymin, ymax = layer.GetExtent()
        if xs:
            check(f"{folder}: {name} inside the spatial domain",
                  min(xs) - 1e-6 <= xmin <= xmax <= max(xs) + 1e-6 and min(ys) - 1e-6 <= ymin <= ymax <= max(ys) + 1e-6,
                  True)
        ours = [n for n in shapefiles if n.endswith(f"_{name}_.shp") or n == name + ".shp"]
        if ours:
            box = shape_header(os.path.join(run, ours[0]))["box"]
            check(f"{folder}: {ours[0]} extent against GDAL's",
                  all(abs(a - b) <= 1e-6 * max(1.0, abs(a), abs(b))
                      for a, b in zip(box.values(), (xmin, ymin, xmax, ymax))), True)
            compared += 1
    return compared


# Attribute tables.


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


# Shapes.


def rings(record):
    _, parts, points = record
    bounds = parts + [len(points)]
    return [points[bounds[k]:bounds[k + 1]] for k in range(len(parts))]


def signed_area(ring):
    """Shoelace area, negative for clockwise rings; taken relative to the first point so that
    UTM-sized coordinates do not cancel each other's digits."""
    x0, y0 = ring[0]
    pts = [(x - x0, y - y0) for x, y in ring]
    return sum(pts[i][0] * pts[i + 1][1] - pts[i + 1][0] * pts[i][1] for i in range(len(pts) - 1)) / 2.0


def find_output(run, module):
    """Our shapefile of `module`: named after its theme, with the module in it."""
    found = [p[:-4] for p in glob.glob(os.path.join(run, "*.shp"))
             if os.path.basename(p)[:-4] == module or os.path.basename(p)[:-4].endswith(f"{module}_")]
    return found[0] if len(found) == 1 else None


def check_files_open_cleanly(run):
    for shp in sorted(glob.glob(os.path.join(run, "*.shp"))):
        messages = []
        gdal.PushErrorHandler(lambda level, number, text: messages.append(text))
        source = ogr.Open(shp)
        count = source.GetLayer(0).GetFeatureCount() if source else -1
        source = None
        gdal.PopErrorHandler()
        check(f"{shp}: GDAL's warnings", messages, [])
        rows, _ = read_dbf(shp[:-4] + ".dbf")
        entries = (os.path.getsize(shp[:-4] + ".shx") - 100) // 8
        check(f"{shp}: features, rows, index entries, shapes", (rows, entries, len(read_shp(shp))),
              (count, count, count))


def check_features(reference, ours, module):
    """Same records, same ids, same coordinates, in module order."""
    layer = reference.GetLayerByName(module)
    shapes = read_shp(ours + ".shp")
    _, rows = read_dbf(ours + ".dbf")
    if layer.GetFeatureCount() != len(shapes):
        fail(f"{module}: GDAL has {layer.GetFeatureCount()} records, we have {len(shapes)}")
        return
    layer.ResetReading()
    for k, feature in enumerate(layer):
        check(f"{module} record {k + 1} id", int(rows[k][1:9]), feature.GetField("RCID"))
        g = feature.GetGeometryRef()
        expected = [] if g is None else [g.GetPoint_2D(i) for i in range(g.GetPointCount())]
        got = shapes[k][2]
        if len(expected) != len(got) or any(abs(a[0] - b[0]) > TOLERANCE or abs(a[1] - b[1]) > TOLERANCE
                                            for a, b in zip(expected, got)):
            fail(f"{module} record {k + 1}: coordinates differ")
            return


def face_ids(faces, lines):
    """The polygon ids of every face, from the side ids of the lines that bound it."""
    tree = strtree.STRtree(faces)
    index = {id(face): k for k, face in enumerate(faces)}
    inside = [prepared.prep(face) for face in faces]
    ids = [set() for _ in faces]
    for points, left, right in lines:
        if left == right or len(points) < 2:
            continue
        (x0, y0), (x1, y1) = points[0], points[1]
        dx, dy = x1 - x0, y1 - y0
        length = (dx * dx + dy * dy) ** 0.5
        if length == 0:
            continue
        mx, my, off = (x0 + x1) / 2, (y0 + y1) / 2, max(1e-4 * length, 1e-6)
        for side_id, sign in ((left, 1.0), (right, -1.0)):
            probe = geometry.Point(mx - sign * off * dy / length, my + sign * off * dx / length)
            for face in tree.query(probe):
                if inside[index[id(face)]].contains(probe):
                    ids[index[id(face)]].add(side_id)
    return ids


def check_polygons(run, module, line_output):
    ours = find_output(run, "PC" + module[-2:])
    if ours is None:
        fail(f"no polygon shapefile for {module}")
        return
    shapes = read_shp(ours + ".shp")
    _, rows = read_dbf(ours + ".dbf")
    areas = {}
    for record, row in zip(shapes, rows):
        polygon_id = int(row[1:9])
        ring_list = rings(record)
        shells = [geometry.Polygon(r) if len(r) > 3 else None for r in ring_list]
        for k, ring in enumerate(ring_list):
            check(f"polygon {polygon_id} ring {k} closed", ring[0], ring[-1])
            island = shells[k] is not None and any(
                other is not None and j != k and other.area > shells[k].area and other.covers(shells[k])
                for j, other in enumerate(shells))
            area = signed_area(ring)
            if (island and area <= 0) or (not island and area >= 0):
                fail(f"polygon {polygon_id} ring {k}: {'island' if island else 'outer'} ring has area {area}")
        if ring_list:
            areas[polygon_id] = abs(sum(signed_area(r) for r in ring_list))

    _, line_rows = read_dbf(line_output + ".dbf")
    lines = [(points, int(row[25:33]), int(row[33:41]))
             for (_, _, points), row in zip(read_shp(line_output + ".shp"), line_rows)]
    faces = list(ops.polygonize([geometry.LineString(p) for p, _, _ in lines if len(p) >= 2]))
    face_area = {}
    for face, ids in zip(faces, face_ids(faces, lines)):
        if len(ids) != 1:
            fail(f"a face of {module} has side ids {sorted(ids)}")
            continue
        polygon_id = ids.pop()
        if polygon_id != 1:
            face_area[polygon_id] = face_area.get(polygon_id, 0.0) + face.area
    for polygon_id, area in face_area.items():
        if polygon_id not in areas:
            fail(f"face of polygon {polygon_id} has no closed polygon of ours")
        elif abs(areas[polygon_id] - area) > TOLERANCE * area:
            fail(f"polygon {polygon_id}: area {areas[polygon_id]} vs face {area}")
    check(f"{module}: our polygons without a face", sorted(set(areas) - set(face_area)), [])
    print(f"  {module}: {len(shapes)} polygons, {len(face_area)} matched faces")


def check_shapes(catalog, run):
    reference = gdal.OpenEx(catalog, gdal.OF_VECTOR)
    for k in range(reference.GetLayerCount()):
        module = reference.GetLayer(k).GetName()
        if module[:2] not in ("LE", "NE", "NP", "NA", "NO"):
            continue
        ours = find_output(run, module)
        if ours is None:
            fail(f"{catalog}: no shapefile for {module}")
            continue
        check_features(reference, ours, module)
        if module.startswith("LE"):
            check_polygons(run, module, ours)
    check_files_open_cleanly(run)


def main(converter, tool, sample_tool, data):
    compared = joined = 0
    with tempfile.TemporaryDirectory(prefix="corvane-real-") as work:
        os.environ["TEMP"] = work
        sample = os.path.join(work, "sample")
        subprocess.run([sample_tool, sample], check=True)
        read_dbf(os.path.join(sample, "1234ARDM.dbf"))
        rows = ogr_read(os.path.join(sample, "1234ARDM.dbf"))["records"]
        check("sample values", [list(r["values"].values()) for r in rows],
              [[1, "SR 4", "State", 2], [10, "US 3 ALTERNATE", None, 12], [100, "I 495", "Interstate", 4],
               [1000, None, "Town", 1]])
        for catalog in catalogs(data):
            folder = os.path.dirname(catalog)
            name = os.path.basename(folder)
            modules = {n[4:8]: os.path.join(folder, n) for n in os.listdir(folder)}
            base = os.path.basename(catalog)[:-4]
            run = convert_transfer(converter, catalog, os.path.join(work, name))
            if run is None:
                continue
            print(catalog)
            check(f"{name}: run directory name", os.path.basename(run), name + base + "shp")
            check_run_files(folder, run, base, modules, tool)
            compared += check_extents(folder, run, catalog, modules, tool, ogr)
            sdts = ogr.Open(catalog)
            transfer_joins = 0
            for path in sorted(glob.glob(os.path.join(run, "*.dbf"))):
                read_dbf(path)
                table = os.path.basename(path)
                if JOIN_TABLE.match(table):
                    transfer_joins += check_join_table(f"{name} {table}", folder, run, sdts, tool, table)
                elif ATTRIBUTE_TABLE.match(table):
                    check_attribute_table(f"{name} {table}", run, sdts, table)
            check(f"{name} has join rows", transfer_joins > 0, True)
            joined += transfer_joins
            check_merge(name, run, sdts)
            check_shapes(catalog, run)
    return finish(f"{compared} layer extents and {joined} join rows compared; shapes checked")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
