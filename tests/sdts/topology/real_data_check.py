"""Converts every real SDTS transfer and cross-checks the shapes with independent readers.

Lines and points: GDAL's SDTS reader, same records, same coordinates within 1e-6.
Polygons: Debian 12's GDAL returns every SDTS polygon empty, so GEOS builds the faces
(shapely.ops.polygonize over all lines); each face inside the map must match our polygon
of the same id by area, and each of our polygons with closed rings must have its face.
Every ring is closed, outer rings clockwise and islands counter-clockwise; every shapefile
opens in GDAL without warnings and its table has one row per shape.

Usage: real_data_check.py <libferrolink.so> <data dir>
Skips (exit 0) when GDAL, shapely or the data is absent.
"""
import ctypes
import glob
import os
import struct
import sys
import tempfile
import warnings

try:
    from osgeo import gdal, ogr
    from shapely.geometry import LineString, Point, Polygon
    from shapely.ops import polygonize
    from shapely.prepared import prep
    from shapely.strtree import STRtree
except ImportError as missing:
    print(f"SKIP: {missing}")
    sys.exit(0)

TOLERANCE = 1e-6
# STRtree changes its interface in shapely 2; the calls used here behave the same in both.
warnings.filterwarnings("ignore", message="STRtree will be changed")
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def read_shp(path):
    """Records of a shapefile as (shape type, parts, points)."""
    with open(path, "rb") as f:
        data = f.read()
    records, at = [], 100
    while at + 12 <= len(data):
        length = struct.unpack(">i", data[at + 4:at + 8])[0] * 2
        content = data[at + 8:at + 8 + length]
        shape_type = struct.unpack("<i", content[:4])[0]
        if shape_type == 1:
            records.append((1, [0], [struct.unpack("<2d", content[4:20])]))
        else:
            nparts, npoints = struct.unpack("<2i", content[36:44])
            parts = list(struct.unpack(f"<{nparts}i", content[44:44 + 4 * nparts]))
            base = 44 + 4 * nparts
            points = [struct.unpack("<2d", content[base + 16 * k:base + 16 * k + 16]) for k in range(npoints)]
            records.append((shape_type, parts, points))
        at += 8 + length
    return records


def dbf_rows(path):
    """Header record count and the rows' text."""
    with open(path, "rb") as f:
        data = f.read()
    count, header, length = struct.unpack("<IHH", data[4:12])
    return count, [data[header + k * length:header + (k + 1) * length].decode("latin-1") for k in range(count)]


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


def find_output(run_dir, module):
    """Our shapefile of `module`: named after its theme, with the module in it."""
    found = [p for p in glob.glob(os.path.join(run_dir, "*.shp"))
             if os.path.basename(p)[:-4] == module or os.path.basename(p)[:-4].endswith(f"{module}_")]
    return found[0][:-4] if len(found) == 1 else None


def check_files_open_cleanly(run_dir):
    for shp in sorted(glob.glob(os.path.join(run_dir, "*.shp"))):
        messages = []
        gdal.PushErrorHandler(lambda level, number, text: messages.append(text))
        ds = ogr.Open(shp)
        count = ds.GetLayer(0).GetFeatureCount() if ds else -1
        ds = None
        gdal.PopErrorHandler()
        if messages:
            fail(f"{shp}: GDAL says {messages}")
        rows, _ = dbf_rows(shp[:-4] + ".dbf")
        shapes = (os.path.getsize(shp[:-4] + ".shx") - 100) // 8
        if not (count == rows == shapes == len(read_shp(shp))):
            fail(f"{shp}: {count} features, {rows} rows, {shapes} index entries")


def check_features(reference, ours, module):
    """Same records, same coordinates, in module order."""
    layer = reference.GetLayerByName(module)
    shapes = read_shp(ours + ".shp")
    _, rows = dbf_rows(ours + ".dbf")
    if layer.GetFeatureCount() != len(shapes):
        fail(f"{module}: GDAL has {layer.GetFeatureCount()} records, we have {len(shapes)}")
        return
    layer.ResetReading()
    for k, feature in enumerate(layer):
        if int(rows[k][1:9]) != feature.GetField("RCID"):
            fail(f"{module} record {k + 1}: id {rows[k][1:9].strip()} vs {feature.GetField('RCID')}")
        geometry = feature.GetGeometryRef()
        expected = [] if geometry is None else [geometry.GetPoint_2D(i) for i in range(geometry.GetPointCount())]
        got = shapes[k][2]
        if len(expected) != len(got) or any(
                abs(a[0] - b[0]) > TOLERANCE or abs(a[1] - b[1]) > TOLERANCE for a, b in zip(expected, got)):
            fail(f"{module} record {k + 1}: coordinates differ")
            return


def face_ids(faces, lines):
    """The polygon id of every face, from the side ids of the lines that bound it."""
    tree = STRtree(faces)
    index = {id(face): k for k, face in enumerate(faces)}
    prepared = [prep(face) for face in faces]
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
            probe = Point(mx - sign * off * dy / length, my + sign * off * dx / length)
            for face in tree.query(probe):
                k = index[id(face)]
                if prepared[k].contains(probe):
                    ids[k].add(side_id)
    return ids


def check_polygons(run_dir, module, line_output):
    ours = find_output(run_dir, "PC" + module[-2:])
    if ours is None:
        fail(f"no polygon shapefile for {module}")
        return
    shapes = read_shp(ours + ".shp")
    _, rows = dbf_rows(ours + ".dbf")
    areas = {}
    for (shape_type, parts, points), row in zip(shapes, rows):
        polygon_id = int(row[1:9])
        ring_list = rings((shape_type, parts, points))
        shells = [Polygon(r) if len(r) > 3 else None for r in ring_list]
        for k, ring in enumerate(ring_list):
            if ring[0] != ring[-1]:
                fail(f"polygon {polygon_id} ring {k} is not closed")
            island = shells[k] is not None and any(
                other is not None and j != k and other.area > shells[k].area and other.covers(shells[k])
                for j, other in enumerate(shells))
            area = signed_area(ring)
            if (island and area <= 0) or (not island and area >= 0):
                fail(f"polygon {polygon_id} ring {k}: {'island' if island else 'outer'} ring has area {area}")
        if ring_list:
            areas[polygon_id] = abs(sum(signed_area(r) for r in ring_list))

    lines = []
    _, line_rows = dbf_rows(line_output + ".dbf")
    for (_, _, points), row in zip(read_shp(line_output + ".shp"), line_rows):
        lines.append((points, int(row[25:33]), int(row[33:41])))
    faces = list(polygonize([LineString(p) for p, _, _ in lines if len(p) >= 2]))
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
    for polygon_id in areas:
        if polygon_id not in face_area:
            fail(f"our polygon {polygon_id} matches no face")
    print(f"  {module}: {len(shapes)} polygons, {len(face_area)} matched faces")


def main():
    library, data = sys.argv[1], sys.argv[2]
    catalogs = sorted(glob.glob(os.path.join(data, "sdts", "*", "*CATD.DDF")))
    if not catalogs:
        print(f"SKIP: no SDTS transfers under {data}")
        return 0
    ferrolink = ctypes.CDLL(library)
    with tempfile.TemporaryDirectory(prefix="topo-real-") as out:
        for catalog in catalogs:
            parent = os.path.join(out, os.path.basename(os.path.dirname(catalog)))
            os.mkdir(parent)
            if ferrolink.Display(catalog.encode(), parent.encode()) != 0:
                fail(f"{catalog}: conversion failed")
                continue
            with open(os.path.join(parent, "names.txt")) as f:
                run_dir = os.path.join(parent, f.readline().strip())
            print(catalog)
            reference = gdal.OpenEx(catalog, gdal.OF_VECTOR)
            for k in range(reference.GetLayerCount()):
                module = reference.GetLayer(k).GetName()
                if module[:2] not in ("LE", "NE", "NP", "NA", "NO"):
                    continue
                ours = find_output(run_dir, module)
                if ours is None:
                    fail(f"{catalog}: no shapefile for {module}")
                    continue
                check_features(reference, ours, module)
                if module.startswith("LE"):
                    check_polygons(run_dir, module, ours)
            check_files_open_cleanly(run_dir)
    print(f"{len(catalogs) - len({f.split(':')[0] for f in failures})} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
