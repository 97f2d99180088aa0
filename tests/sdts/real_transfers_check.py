"""Converts every real SDTS transfer with corvane and holds the runs against independent readers.

Run files: the document and the log say what the IDEN and XREF modules hold as iso8211dump shows
them; the layer extents of GDAL's SDTS reader lie inside the SPDM spatial domain and equal the
extents of our shapefiles.

Tables, read back by GDAL: every attribute table holds what GDAL's SDTS reader gives for its
module; every join table has one row per attribute reference of its object module, in module order
(a road carrying three route numbers has three rows), each followed by the referenced attribute
record; GDAL's object layers (which keep only the last reference into a module) agree with our
last row of each object; the hypsography merge put each contour's elevation into the line table.

Shapes: lines and points against GDAL's SDTS reader (same records, ids and coordinates within
1e-6). Debian 12's GDAL returns every SDTS polygon empty, so GEOS builds the faces
(shapely.ops.polygonize over all lines); each face inside the map must match our polygon of the
same id by area, and each of our polygons with rings must have its face. Every ring is closed,
outer rings clockwise and islands counter-clockwise; every shapefile opens in GDAL without
warnings, with one table row and one index entry per shape.

usage: real_transfers_check.py CORVANE ISO8211DUMP DATA_DIR
"""
import glob
import os
import re
import sys
import tempfile
import warnings

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import (check, convert_each, dump, fail, finish, first, need, ogr_rows,  # noqa: E402
                        read_dbf, read_shp, real_inputs)

ogr, geometry, ops, prepared, strtree = need(
    "osgeo.ogr", "shapely.geometry", "shapely.ops", "shapely.prepared", "shapely.strtree")
TOLERANCE = 1e-6
# STRtree changes its interface in shapely 2; the calls used here behave the same in both.
warnings.filterwarnings("ignore", message="STRtree will be changed")
JOIN_TABLE = re.compile(r"^([A-Za-z]{2}\d\d)_(.{4})([AB]\w+)\.dbf$")
ATTRIBUTE_TABLE = re.compile(r"^(.{4})([AB]\w+)\.dbf$")


def text(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def check_run_files(name, run, modules, tool):
    iden, xref = dump(tool, modules["IDEN"]), dump(tool, modules["XREF"])
    title, scale = first(iden, "IDEN", "TITL"), first(iden, "IDEN", "SCAL")
    rsnm, hdat, zone = (first(xref, "XREF", label) for label in ("RSNM", "HDAT", "ZONE"))
    (doc,), (log,) = glob.glob(os.path.join(run, "*.doc")), glob.glob(os.path.join(run, "*.log"))
    for part in (f"\nTITLE:           {title}\nSCALE:           {int(scale)}\n",
                 f"\nReference System:           {rsnm}\nHorizontal Datum:           {hdat}\n"
                 f"ZONE:\t\t\t\t\t   {zone}\n", "\nCOMMENT:            "):
        check(f"{name}: doc holds {part!r}", part in text(doc), True)
    for line in (f"Map Title: {title}\n", f"Map Scale: 1 to {scale}\n", f"Reference System: {rsnm}\n",
                 f"Horizontal Datum: {hdat}\n", f"Zone: {zone}\n"):
        check(f"{name}: log holds {line!r}", line in text(log), True)


def check_extents(name, run, sdts, modules, tool):
    iref = dump(tool, modules["IREF"])
    sfax, sfay, xorg, yorg = (float(first(iref, "IREF", label)) for label in ("SFAX", "SFAY", "XORG", "YORG"))
    spdm = dump(tool, modules["SPDM"]) if "SPDM" in modules else []
    xs = [int(v, 16) * sfax + xorg for t, l, _, _, v in spdm if t == "DMSA" and l == "!X"]
    ys = [int(v, 16) * sfay + yorg for t, l, _, _, v in spdm if t == "DMSA" and l == "!Y"]
    for layer in sdts:
        module = layer.GetName()
        # Debian 12's GDAL returns SDTS polygons without geometry.
        if layer.GetGeomType() == ogr.wkbNone or layer.GetFeatureCount() == 0 or module.startswith("PC"):
            continue
        xmin, xmax, ymin, ymax = layer.GetExtent()
        if xs:
            check(f"{name}: {module} inside the spatial domain", min(xs) - TOLERANCE <= xmin <= xmax <= max(xs)
                  + TOLERANCE and min(ys) - TOLERANCE <= ymin <= ymax <= max(ys) + TOLERANCE, True)
        ours = find_output(run, module)
        if ours:
            source = ogr.Open(ours + ".shp")  # must outlive its layer
            extent = source.GetLayer(0).GetExtent()
            check(f"{name}: {module} extent against GDAL's", all(
                abs(a - b) <= TOLERANCE * max(1.0, abs(a)) for a, b in zip(extent, (xmin, xmax, ymin, ymax))), True)


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


def layer_records(sdts, module):
    """GDAL's SDTS records of `module` by record id, each {label: value}."""
    layer = sdts.GetLayerByName(module)
    names = [field.GetName() for field in layer.schema]
    return {f.GetField("RCID"): dict(zip(names, (f.GetField(i) for i in range(len(names))))) for f in layer}


def compare(where, row, record, columns):
    for label, value in record.items():
        if label != "RCID" and not same_value(row[columns[label]], value):
            return fail(f"{where}: {label} got {row[columns[label]]!r}, GDAL's SDTS reader {value!r}")


def columns_of(run, table):
    """Full column name -> dBase field name, from our field-name table."""
    return {r["Alias"]: r["Field_Name"] for r in ogr_rows(os.path.join(run, table + "(Name).dbf"))}


def check_attribute_table(where, run, sdts, table, prefix, module):
    columns = columns_of(run, prefix + module)
    records = layer_records(sdts, module)
    rows = ogr_rows(os.path.join(run, table))
    rcid = columns[module + "_RCID"]
    check(f"{where} records", [r[rcid] for r in rows], list(records))
    for row in rows:
        compare(f"{where} record {row[rcid]}", row, records[row[rcid]], columns)


def check_join_table(where, folder, run, sdts, tool, table, object_module, prefix, module):
    rows = ogr_rows(os.path.join(run, table))
    id_field, rcid_field = list(rows[0])[:2] if rows else (None, None)
    module_file = glob.glob(os.path.join(folder, prefix + object_module + ".DDF"))[0]
    check(f"{where} rows (object id, attribute id)", [(r[id_field], r[rcid_field]) for r in rows],
          [(o, a) for o, m, a in references(tool, module_file) if m == module])
    columns = columns_of(run, prefix + module)
    records, objects, last_row = layer_records(sdts, module), layer_records(sdts, object_module), {}
    for row in rows:
        compare(f"{where} attribute record {row[rcid_field]}", row, records[row[rcid_field]], columns)
        last_row[row[id_field]] = row
    for object_id, row in last_row.items():
        record = {k: v for k, v in objects[object_id].items() if k in records[row[rcid_field]]}
        compare(f"{where} {object_module} record {object_id}", row, record, columns)
    return len(rows)


def check_merge(where, run, sdts):
    """Each contour line's table row carries the elevation of its first AHPR reference."""
    joins = glob.glob(os.path.join(run, "LE01_*AHPR.dbf"))
    if joins:
        elevation = {}
        for row in ogr_rows(joins[0]):
            elevation.setdefault(row["LE01_id"], row["ELEVATION"])
        merged = ogr_rows(glob.glob(os.path.join(run, "*_LE01_.dbf"))[0])
        check(f"{where} merged elevations",
              {r["LE01_ID"]: r["ELEVATION"] for r in merged if r["ELEVATION"] is not None}, elevation)
        check(f"{where} merged rows", len(merged), sdts.GetLayerByName("LE01").GetFeatureCount())


def signed_area(ring):
    """Shoelace area, negative for clockwise rings; taken relative to the first point so that
    UTM-sized coordinates do not cancel each other's digits."""
    x0, y0 = ring[0]
    pts = [(x - x0, y - y0) for x, y in ring]
    return sum(pts[i][0] * pts[i + 1][1] - pts[i + 1][0] * pts[i][1] for i in range(len(pts) - 1)) / 2.0


def find_output(run, module):
    """Our shapefile of `module` without its ending: named after its theme, with the module in it."""
    found = [p[:-4] for p in glob.glob(os.path.join(run, "*.shp"))
             if os.path.basename(p)[:-4] == module or p.endswith(f"{module}_.shp")]
    return found[0] if len(found) == 1 else None


def check_shapefiles(run):
    for shp in sorted(glob.glob(os.path.join(run, "*.shp"))):
        entries = (os.path.getsize(shp[:-4] + ".shx") - 100) // 8
        features = len(ogr_rows(shp))
        check(f"{shp}: rows, index entries, shapes against GDAL's features",
              (len(read_dbf(shp[:-4] + ".dbf")), entries, len(read_shp(shp))), (features,) * 3)


def check_features(sdts, ours, module):
    """Same records, same ids, same coordinates, in module order."""
    layer, shapes, rows = sdts.GetLayerByName(module), read_shp(ours + ".shp"), read_dbf(ours + ".dbf")
    if layer.GetFeatureCount() != len(shapes):
        return fail(f"{module}: GDAL has {layer.GetFeatureCount()} records, we have {len(shapes)}")
    for k, feature in enumerate(layer):
        check(f"{module} record {k + 1} id", int(rows[k][1:9]), feature.GetField("RCID"))
        g = feature.GetGeometryRef()
        expected = [] if g is None else [g.GetPoint_2D(i) for i in range(g.GetPointCount())]
        got = [p for ring in shapes[k] for p in ring]
        if len(expected) != len(got) or any(abs(a[0] - b[0]) > TOLERANCE or abs(a[1] - b[1]) > TOLERANCE
                                            for a, b in zip(expected, got)):
            return fail(f"{module} record {k + 1}: coordinates differ")


def face_ids(faces, lines):
    """The polygon ids of every face, from the side ids of the lines that bound it."""
    tree, inside = strtree.STRtree(faces), [prepared.prep(face) for face in faces]
    index = {id(face): k for k, face in enumerate(faces)}
    ids = [set() for _ in faces]
    for points, left, right in lines:
        if left == right or len(points) < 2 or points[0] == points[1]:
            continue
        (x0, y0), (x1, y1) = points[0], points[1]
        dx, dy = x1 - x0, y1 - y0
        length = (dx * dx + dy * dy) ** 0.5
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
        return fail(f"no polygon shapefile for {module}")
    areas = {}
    for rings, row in zip(read_shp(ours + ".shp"), read_dbf(ours + ".dbf")):
        polygon_id = int(row[1:9])
        shells = [geometry.Polygon(r) if len(r) > 3 else None for r in rings]
        for k, ring in enumerate(rings):
            check(f"polygon {polygon_id} ring {k} closed", ring[0], ring[-1])
            island = shells[k] is not None and any(other is not None and j != k and other.area > shells[k].area
                                                   and other.covers(shells[k]) for j, other in enumerate(shells))
            area = signed_area(ring)
            if area == 0 or (area > 0) != island:
                fail(f"polygon {polygon_id} ring {k}: {'island' if island else 'outer'} ring the wrong way round")
        if rings:
            areas[polygon_id] = abs(sum(signed_area(r) for r in rings))
    lines = [([p for ring in rings for p in ring], int(row[25:33]), int(row[33:41]))
             for rings, row in zip(read_shp(line_output + ".shp"), read_dbf(line_output + ".dbf"))]
    faces = list(ops.polygonize([geometry.LineString(p) for p, _, _ in lines if len(p) >= 2]))
    face_area = {}
    for face, ids in zip(faces, face_ids(faces, lines)):
        if len(ids) != 1:
            fail(f"a face of {module} has side ids {sorted(ids)}")
        elif ids != {1}:
            face_area[min(ids)] = face_area.get(min(ids), 0.0) + face.area
    for polygon_id, area in face_area.items():
        if abs(areas.get(polygon_id, 0.0) - area) > TOLERANCE * area:
            fail(f"polygon {polygon_id}: area {areas.get(polygon_id)} vs face {area}")
    check(f"{module}: our polygons without a face", sorted(set(areas) - set(face_area)), [])
    print(f"  {module}: {len(areas)} polygons, {len(face_area)} matched faces")


def main(corvane, tool, data):
    joined = 0
    with tempfile.TemporaryDirectory(prefix="corvane-real-") as work:
        os.environ["TEMP"] = work
        for catalog, run in convert_each(corvane, real_inputs(data, "sdts"), work).items():
            folder = os.path.dirname(catalog)
            name = os.path.basename(folder)
            if run is None:
                continue
            print(catalog)
            modules = {n[4:8]: os.path.join(folder, n) for n in os.listdir(folder)}
            sdts = ogr.Open(catalog)
            check_run_files(name, run, modules, tool)
            check_extents(name, run, sdts, modules, tool)
            transfer_joins = 0
            for table in sorted(os.listdir(run)):
                if JOIN_TABLE.match(table):
                    transfer_joins += check_join_table(f"{name} {table}", folder, run, sdts, tool, table,
                                                       *JOIN_TABLE.match(table).groups())
                elif ATTRIBUTE_TABLE.match(table):
                    check_attribute_table(f"{name} {table}", run, sdts, table, *ATTRIBUTE_TABLE.match(table).groups())
            check(f"{name} has join rows", transfer_joins > 0, True)
            joined += transfer_joins
            check_merge(name, run, sdts)
            for layer in sdts:
                module, ours = layer.GetName(), find_output(run, layer.GetName())
                if module[:2] in ("LE", "NE", "NP", "NA", "NO"):
                    check(f"{name}: a shapefile for {module}", ours is not None, True)
                    if ours:
                        check_features(sdts, ours, module)
                    if ours and module.startswith("LE"):
                        check_polygons(run, module, ours)
            check_shapefiles(run)
    return finish(f"{joined} join rows compared; run files, tables and shapes checked")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
