"""Converts every real SDTS transfer and cross-checks the shapes with independent readers.

Lines and points: GDAL's SDTS reader, same records, same ids, same coordinates within 1e-6.
Polygons: Debian 12's GDAL returns every SDTS polygon empty, so GEOS builds the faces
(shapely.ops.polygonize over all lines); each face inside the map must match our polygon of the
same id by area, and each of our polygons with closed rings must have its face. Every ring is
closed, outer rings clockwise and islands counter-clockwise; every shapefile opens in GDAL
without warnings, and its table and index have one row and one entry per shape.

usage: real_data_check.py CONVERT_INPUTS DATA_DIR
"""
import glob
import os
import sys
import tempfile
import warnings

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from crosscheck import catalogs, check, convert_transfer, fail, finish, need, read_dbf, read_shp  # noqa: E402

gdal, ogr, geometry, ops, prepared, strtree = need(
    "osgeo.gdal", "osgeo.ogr", "shapely.geometry", "shapely.ops", "shapely.prepared", "shapely.strtree")
TOLERANCE = 1e-6
# STRtree changes its interface in shapely 2; the calls used here behave the same in both.
warnings.filterwarnings("ignore", message="STRtree will be changed")


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


def main(converter, data):
    with tempfile.TemporaryDirectory(prefix="topo-real-") as out:
        os.environ["TEMP"] = out
        for catalog in catalogs(data):
            run = convert_transfer(converter, catalog, os.path.join(out, os.path.basename(os.path.dirname(catalog))))
            if run is None:
                continue
            print(catalog)
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
    return finish("lines, points and polygons of every real transfer checked")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
