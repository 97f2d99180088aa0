"""Projection files on real data, end to end through both converters.

For every SDTS transfer and every DLG-3 optional-format file: every shapefile of the run has a
projection file that GDAL reads as the expected EPSG code (for transfers, the code GDAL's own SDTS
reader gives), the run files name the reference, and the run's node (or corner point) shapefile
reprojected to EPSG:4326 lands within 5 m of the input's own geographic corners taken to EPSG:4326
as well. That last check shows the reference is the right one, not merely well-formed: a wrong
zone misses by hundreds of kilometres, a wrong datum by the NAD27 shift, 40 to 90 m on these
quadrangles. Inputs whose datum we cannot name get no projection file, and the log says why for
each shapefile.

usage: projection_real_data.py CORVANE DATA_DIR
"""
import glob
import math
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import check, convert_each, dlg_records, fail, finish, need, real_inputs  # noqa: E402

gdal, ogr, osr = need("osgeo.gdal", "osgeo.ogr", "osgeo.osr")
gdal.UseExceptions()
CORNERS = ("SW", "NW", "NE", "SE")


def srs_from_epsg(code):
    srs = osr.SpatialReference()
    srs.ImportFromEPSG(code)
    srs.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    return srs


def epsg_of(srs):
    if srs is not None and srs.GetAuthorityCode(None) is None:
        srs.AutoIdentifyEPSG()
    return int(srs.GetAuthorityCode(None)) if srs is not None and srs.GetAuthorityCode(None) else None


def distance_m(a, b):
    lon1, lat1, lon2, lat2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = math.sin((lat2 - lat1) / 2) ** 2 + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2
    return 2 * 6371008.8 * math.asin(math.sqrt(h))


def points_in_wgs84(shp):
    """The layer's points as ogr2ogr -t_srs EPSG:4326 writes them (lon, lat)."""
    target = "/vsimem/" + os.path.basename(shp) + ".geojson"
    gdal.VectorTranslate(target, shp, format="GeoJSON", dstSRS="EPSG:4326")
    source = ogr.Open(target)
    points = [f.GetGeometryRef().GetPoint_2D() for f in source.GetLayer(0) if f.GetGeometryRef()]
    source = None
    gdal.Unlink(target)
    return points


def read_text(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def check_run(label, run, expected, corners, node_pattern):
    shapefiles = sorted(glob.glob(os.path.join(run, "*.shp")))
    check(f"{label} has shapefiles", bool(shapefiles), True)
    for shp in shapefiles:
        source = ogr.Open(shp)  # must outlive its layer
        check(f"{label}: {os.path.basename(shp)} has a .prj read as EPSG",
              (os.path.exists(shp[:-4] + ".prj"), epsg_of(source.GetLayer(0).GetSpatialRef())), (True, expected))
    for run_file in glob.glob(os.path.join(run, "*.log")) + glob.glob(os.path.join(run, "*.doc")):
        check(f"{label}: {os.path.basename(run_file)} names the reference",
              f"Coordinate reference: EPSG:{expected} " in read_text(run_file), True)
    nodes = sorted(glob.glob(os.path.join(run, node_pattern)))
    points = points_in_wgs84(nodes[0]) if nodes else []
    if not points:
        return fail(f"{label}: no node shapefile with points in {run}")
    geographic = srs_from_epsg(expected).CloneGeogCS()
    geographic.AutoIdentifyEPSG()
    geographic_epsg = int(geographic.GetAuthorityCode(None))
    to_wgs84 = osr.CoordinateTransformation(srs_from_epsg(geographic_epsg), srs_from_epsg(4326))
    nearest = {name: min(distance_m(to_wgs84.TransformPoint(lon, lat)[:2], p) for p in points)
               for name, (lon, lat) in corners.items()}
    print(f"{label}: EPSG:{expected}; {os.path.basename(nodes[0])} to the corners (EPSG:{geographic_epsg} -> "
          "4326): " + ", ".join(f"{n} {d:.2f} m" for n, d in nearest.items()))
    if max(nearest.values()) > 5.0:
        fail(f"{label}: a corner lies {max(nearest.values()):.1f} m from the nearest node")


def check_transfer(catalog, run):
    source = ogr.Open(catalog)
    header = source.GetLayerByName("AHDR").GetNextFeature()
    corners = {c: (header.GetField(c + "_LONGITUDE"), header.GetField(c + "_LATITUDE")) for c in CORNERS}
    # The corner points module holds exactly the four corners.
    pattern = "*NP01*.shp" if glob.glob(os.path.join(run, "*NP01*.shp")) else "*NO01*.shp"
    check_run(catalog, run, epsg_of(source.GetLayerByName("LE01").GetSpatialRef()), corners, pattern)


def check_optional_file(path, run):
    records = dlg_records(path)
    system, zone, datum = int(records[3][6:12]), int(records[3][12:18]), int(records[3][66:69])
    if system != 1 or datum not in (0, 1):
        return fail(f"{path}: the check expects UTM on NAD27 or NAD83")
    corners = {r[:2]: (float(r[18:30]), float(r[6:18]))
               for r in records[10:10 + int(records[3][54:60])] if r[:2] in CORNERS}
    check_run(path, run, (26700 if datum == 0 else 26900) + zone, corners, "*nodes.shp")


def unknown_datum_inputs(data, scratch):
    """A transfer and an optional-format file whose datums we cannot name, with the log's reason."""
    transfer = shutil.copytree(os.path.join(data, "sdts", "concord-ma-RR"), os.path.join(scratch, "RR"))
    with open(os.path.join(transfer, "RR01XREF.DDF"), "rb+") as f:
        content = f.read().replace(b"\x1fNAS\x1f", b"\x1fXYZ\x1f")  # same length: still valid
        f.seek(0)
        f.write(content)
    records = dlg_records(os.path.join(data, "dlg3-optional", "concord-ma-RR.opt"))
    records[3] = records[3][:66] + "   " + records[3][69:]  # blank horizontal datum
    with open(os.path.join(scratch, "nodatum.opt"), "w", encoding="latin-1") as f:
        f.write("".join(records))
    return {os.path.join(transfer, "RR01CATD.DDF"): 'horizontal datum "XYZ" is unknown',
            f.name: "record 4 gives no horizontal datum"}


def main(corvane, data):
    with tempfile.TemporaryDirectory() as scratch:
        os.environ["TEMP"] = scratch  # the converters' work files
        for path, run in convert_each(corvane, real_inputs(data, "sdts", "opt"), scratch + "/real").items():
            if run:
                (check_transfer if path.endswith(".DDF") else check_optional_file)(path, run)
        reasons = unknown_datum_inputs(data, scratch)
        for path, run in convert_each(corvane, list(reasons), scratch + "/unknown").items():
            shapefiles = glob.glob(os.path.join(run or "", "*.shp"))
            check(f"{path}: shapefiles and no projection file",
                  (bool(shapefiles), glob.glob(os.path.join(run or "", "*.prj"))), (True, []))
            log = "".join(read_text(p) for p in glob.glob(os.path.join(run or "", "*.log")))
            for shp in shapefiles:
                check(f"{path}: the log says why {os.path.basename(shp)} has no .prj",
                      f"/{os.path.basename(shp)}: {reasons[path]}\n" in log, True)
    return finish("projection files of every real input checked")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
