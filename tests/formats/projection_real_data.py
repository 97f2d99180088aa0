"""Projection files on real data, end to end through both converters.

For every SDTS transfer and every DLG-3 optional-format file: every shapefile of the run has a
projection file that GDAL reads as the expected EPSG code (for transfers, the code GDAL's own
SDTS reader gives), the run files name the reference, and the run's node (or corner point)
shapefile reprojected to EPSG:4326 lands within 5 m of the input's own geographic corners taken
to EPSG:4326 as well. That last check shows the reference is the right one, not merely
well-formed: a wrong zone misses by hundreds of kilometres, a wrong datum by the NAD27 shift,
40 to 90 m on these quadrangles. Inputs whose datum we cannot name get no projection file, and
the log says why for each shapefile.

usage: projection_real_data.py CONVERT_INPUTS DATA_DIR
"""
import glob
import math
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import catalogs, check, convert, dlg_records, fail, finish, need  # noqa: E402

gdal, ogr, osr = need("osgeo.gdal", "osgeo.ogr", "osgeo.osr")
gdal.UseExceptions()
CORNERS = ("SW", "NW", "NE", "SE")


def srs_from_epsg(code):
    srs = osr.SpatialReference()
    srs.ImportFromEPSG(code)
    srs.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    return srs


def epsg_of(srs):
    if srs is None:
        return None
    if srs.GetAuthorityCode(None) is None:
        srs.AutoIdentifyEPSG()
    code = srs.GetAuthorityCode(None)
    return int(code) if code else None


def distance_m(a, b):
    lon1, lat1, lon2, lat2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * 6371008.8 * math.asin(math.sqrt(h))


def points_in_wgs84(shp):
    """The layer's points as ogr2ogr -t_srs EPSG:4326 writes them (lon, lat)."""
    target = "/vsimem/" + os.path.basename(shp) + ".geojson"
    gdal.VectorTranslate(target, shp, format="GeoJSON", dstSRS="EPSG:4326")
    data = ogr.Open(target)
    points = [f.GetGeometryRef().GetPoint_2D() for f in data.GetLayer(0) if f.GetGeometryRef()]
    data = None
    gdal.Unlink(target)
    return points


def read_text(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def run_directory(parent):
    runs = [d for d in glob.glob(os.path.join(parent, "*shp")) if os.path.isdir(d)]
    return runs[0] if len(runs) == 1 else None


def check_run(label, run, expected, corners, node_pattern):
    shapefiles = sorted(glob.glob(os.path.join(run, "*.shp")))
    check(f"{label} has shapefiles", bool(shapefiles), True)
    for shp in shapefiles:
        data = ogr.Open(shp)  # must outlive its layer
        code = epsg_of(data.GetLayer(0).GetSpatialRef())
        data = None
        check(f"{label}: {os.path.basename(shp)} has a .prj read as EPSG",
              (os.path.exists(shp[:-4] + ".prj"), code), (True, expected))
    for run_file in glob.glob(os.path.join(run, "*.log")) + glob.glob(os.path.join(run, "*.doc")):
        check(f"{label}: {os.path.basename(run_file)} names the reference",
              f"Coordinate reference: EPSG:{expected} " in read_text(run_file), True)
    nodes = sorted(glob.glob(os.path.join(run, node_pattern)))
    if not nodes or not os.path.exists(nodes[0][:-4] + ".prj"):
        fail(f"{label}: no node shapefile with a projection file in {run}")
        return
    geographic = srs_from_epsg(expected).CloneGeogCS()
    geographic.AutoIdentifyEPSG()
    geographic_epsg = int(geographic.GetAuthorityCode(None))
    to_wgs84 = osr.CoordinateTransformation(srs_from_epsg(geographic_epsg), srs_from_epsg(4326))
    points = points_in_wgs84(nodes[0])
    if not points:
        fail(f"{label}: {os.path.basename(nodes[0])} has no points")
        return
    nearest = {name: min(distance_m(to_wgs84.TransformPoint(lon, lat)[:2], p) for p in points)
               for name, (lon, lat) in corners.items()}
    print(f"{label}: {len(shapefiles)} shapefiles, EPSG:{expected}; {os.path.basename(nodes[0])} "
          f"to the corners (EPSG:{geographic_epsg} -> 4326): "
          + ", ".join(f"{n} {d:.2f} m" for n, d in nearest.items()))
    if max(nearest.values()) > 5.0:
        fail(f"{label}: a corner lies {max(nearest.values()):.1f} m from the nearest node")


def check_transfers(converter, data, scratch):
    for catalog in catalogs(data):
        label = os.path.basename(os.path.dirname(catalog))
        source = ogr.Open(catalog)
        expected = epsg_of(source.GetLayerByName("LE01").GetSpatialRef())
        header = source.GetLayerByName("AHDR").GetNextFeature()
        corners = {c: (header.GetField(c + "_LONGITUDE"), header.GetField(c + "_LATITUDE"))
                   for c in CORNERS}
        source = None
        parent = tempfile.mkdtemp(dir=scratch)
        check(f"{label} converts", convert(converter, "sdts", [catalog], parent)[catalog], 0)
        run = run_directory(parent)
        if run is not None:
            # The corner points module holds exactly the four corners.
            pattern = "*NP01*.shp" if glob.glob(os.path.join(run, "*NP01*.shp")) else "*NO01*.shp"
            check_run(label, run, expected, corners, pattern)


def check_optional_files(converter, data, scratch):
    for path in sorted(glob.glob(os.path.join(data, "dlg3-optional", "*.opt"))):
        label = os.path.basename(path)
        records = dlg_records(path)
        system, zone, datum = int(records[3][6:12]), int(records[3][12:18]), int(records[3][66:69])
        if system != 1 or datum not in (0, 1):
            fail(f"{label}: the check expects UTM on NAD27 or NAD83")
            continue
        corners = {r[:2]: (float(r[18:30]), float(r[6:18]))
                   for r in records[10:10 + int(records[3][54:60])] if r[:2] in CORNERS}
        parent = tempfile.mkdtemp(dir=scratch)
        convert(converter, "opt", [path], parent)
        run = run_directory(parent)
        if run is None:
            fail(f"{label}: no run directory under {parent}")
            continue
        check_run(label, run, (26700 if datum == 0 else 26900) + zone, corners, "*nodes.shp")


def check_unknown_datum(label, run, reason):
    log = "".join(read_text(p) for p in glob.glob(os.path.join(run or "", "*.log")))
    shapefiles = glob.glob(os.path.join(run or "", "*.shp"))
    check(f"{label}: shapefiles and no projection file",
          (bool(shapefiles), glob.glob(os.path.join(run or "", "*.prj"))), (True, []))
    for shp in shapefiles:
        check(f"{label}: the log says why {os.path.basename(shp)} has no .prj",
              f"No projection file written for {shp}: {reason}" in log, True)


def check_unknown_datums(converter, data, scratch):
    """A transfer and an optional-format file whose datum we cannot name."""
    source = os.path.join(data, "sdts", "concord-ma-RR")
    transfer = tempfile.mkdtemp(dir=scratch)
    for name in os.listdir(source):
        with open(os.path.join(source, name), "rb") as f:
            content = f.read()
        if name.endswith("XREF.DDF"):
            content = content.replace(b"\x1fNAS\x1f", b"\x1fXYZ\x1f")  # same length: still valid
        with open(os.path.join(transfer, name), "wb") as f:
            f.write(content)
    parent = tempfile.mkdtemp(dir=scratch)
    catalog = os.path.join(transfer, "RR01CATD.DDF")
    check("concord-ma-RR, datum XYZ, converts", convert(converter, "sdts", [catalog], parent)[catalog], 0)
    check_unknown_datum("concord-ma-RR, datum XYZ", run_directory(parent),
                        'horizontal datum "XYZ" is unknown')

    records = dlg_records(os.path.join(data, "dlg3-optional", "concord-ma-RR.opt"))
    records[3] = records[3][:66] + "   " + records[3][69:]  # blank horizontal datum
    path = os.path.join(tempfile.mkdtemp(dir=scratch), "nodatum.opt")
    with open(path, "w", encoding="latin-1") as f:
        f.write("".join(records))
    parent = tempfile.mkdtemp(dir=scratch)
    convert(converter, "opt", [path], parent)
    check_unknown_datum("concord-ma-RR.opt, blank datum", run_directory(parent),
                        "record 4 gives no horizontal datum")


def main(converter, data):
    with tempfile.TemporaryDirectory() as scratch:
        os.environ["TEMP"] = scratch  # the converters' work files
        check_transfers(converter, data, scratch)
        check_optional_files(converter, data, scratch)
        check_unknown_datums(converter, data, scratch)
    return finish("projection files of every real input checked")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
