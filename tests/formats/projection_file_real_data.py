"""Projection files on real data, end to end through both converters.

For every SDTS transfer and every DLG-3 optional-format file under the data directory:
every shapefile of the run has a projection file, GDAL reads it as the expected EPSG code,
and the run's node (or corner point) shapefile reprojected to EPSG:4326 lands within 5 m
of the transfer's own geographic corners taken to EPSG:4326 as well. That last check shows
the reference is the right one, not merely well-formed: a wrong zone misses by hundreds of
kilometres, and a wrong datum by the NAD27 shift, 40 to 90 m on these quadrangles.

Usage: projection_file_real_data.py <projection_file_converter_run program> <data directory>
Skips (exit 0) without GDAL's Python bindings or the data.
"""
import glob
import math
import os
import subprocess
import sys
import tempfile

try:
    from osgeo import gdal, ogr, osr
except ImportError:
    print("SKIP: GDAL Python bindings (osgeo) not available")
    sys.exit(0)

gdal.UseExceptions()
MAX_DISTANCE_M = 5.0
EARTH_RADIUS_M = 6371008.8
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
    return 2 * EARTH_RADIUS_M * math.asin(math.sqrt(h))


def points_in_wgs84(shp_path):
    """The layer's points as ogr2ogr -t_srs EPSG:4326 writes them (lon, lat)."""
    target = "/vsimem/" + os.path.basename(shp_path) + ".geojson"
    gdal.VectorTranslate(target, shp_path, format="GeoJSON", dstSRS="EPSG:4326")
    data = ogr.Open(target)
    points = [f.GetGeometryRef().GetPoint_2D() for f in data.GetLayer(0) if f.GetGeometryRef()]
    data = None
    gdal.Unlink(target)
    return points


def corners_in_wgs84(corners, geographic_epsg):
    to_wgs84 = osr.CoordinateTransformation(srs_from_epsg(geographic_epsg), srs_from_epsg(4326))
    return {name: to_wgs84.TransformPoint(lon, lat)[:2] for name, (lon, lat) in corners.items()}


def check_run(label, run_dir, expected_epsg, corners, node_shp, failures):
    shapefiles = sorted(glob.glob(os.path.join(run_dir, "*.shp")))
    if not shapefiles:
        failures.append(f"{label}: no shapefile in {run_dir}")
        return
    codes = set()
    for shp in shapefiles:
        if not os.path.exists(shp[:-4] + ".prj"):
            failures.append(f"{label}: {os.path.basename(shp)} has no .prj")
            continue
        data = ogr.Open(shp)  # must outlive its layer
        code = epsg_of(data.GetLayer(0).GetSpatialRef())
        data = None
        codes.add(code)
        if code != expected_epsg:
            failures.append(f"{label}: {os.path.basename(shp)} reads as EPSG:{code}, "
                            f"expected EPSG:{expected_epsg}")
    named = f"Coordinate reference: EPSG:{expected_epsg} "
    for run_file in glob.glob(os.path.join(run_dir, "*.log")) + glob.glob(
            os.path.join(run_dir, "*.doc")):
        if named not in read_text(run_file):
            failures.append(f"{label}: {os.path.basename(run_file)} does not name the reference")
    if not os.path.exists(node_shp[:-4] + ".prj"):
        return
    geographic = srs_from_epsg(expected_epsg).CloneGeogCS()
    geographic.AutoIdentifyEPSG()
    geographic_epsg = int(geographic.GetAuthorityCode(None))
    wgs84_corners = corners_in_wgs84(corners, geographic_epsg)
    points = points_in_wgs84(node_shp)
    if not points:
        failures.append(f"{label}: {os.path.basename(node_shp)} has no points")
        return
    nearest = {name: min(distance_m(corner, p) for p in points)
               for name, corner in wgs84_corners.items()}
    worst = max(nearest.values())
    print(f"{label}: {len(shapefiles)} shapefiles, EPSG {sorted(c for c in codes if c)}; "
          f"{os.path.basename(node_shp)} in EPSG:4326 to corners "
          f"(EPSG:{geographic_epsg} -> 4326): "
          + ", ".join(f"{n} {d:.2f} m" for n, d in nearest.items()))
    if worst > MAX_DISTANCE_M:
        failures.append(f"{label}: a corner lies {worst:.1f} m from the nearest node")


def read_text(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def check_unknown_datum(label, run_dir, reason, failures):
    """No projection file at all, and the log says why for each shapefile."""
    if run_dir is None:
        failures.append(f"{label}: no run directory")
        return
    log = "".join(read_text(p) for p in glob.glob(os.path.join(run_dir, "*.log")))
    shapefiles = glob.glob(os.path.join(run_dir, "*.shp"))
    if not shapefiles or glob.glob(os.path.join(run_dir, "*.prj")):
        failures.append(f"{label}: expected shapefiles and no projection file")
    for shp in shapefiles:
        if f"No projection file written for {shp}: {reason}" not in log:
            failures.append(f"{label}: the log does not say why {os.path.basename(shp)} "
                            "has no .prj")
    print(f"{label}: {len(shapefiles)} shapefiles, no .prj, logged: {reason}")


def unknown_datum(runner, data_dir, scratch, failures):
    """A transfer and an optional-format file whose datum we cannot name."""
    source = os.path.join(data_dir, "sdts", "concord-ma-RR")
    transfer = tempfile.mkdtemp(dir=scratch)
    for name in os.listdir(source):
        with open(os.path.join(source, name), "rb") as f:
            data = f.read()
        if name.endswith("XREF.DDF"):
            # Same length, so the record stays valid.
            data = data.replace(b"\x1fNAS\x1f", b"\x1fXYZ\x1f")
        with open(os.path.join(transfer, name), "wb") as f:
            f.write(data)
    out_dir = tempfile.mkdtemp(dir=scratch)
    if convert(runner, "sdts", os.path.join(transfer, "RR01CATD.DDF"), out_dir):
        check_unknown_datum("concord-ma-RR, datum XYZ", run_directory(out_dir),
                            'horizontal datum "XYZ" is unknown', failures)
    else:
        failures.append("concord-ma-RR, datum XYZ: Display failed")

    records = dlg_records(os.path.join(data_dir, "dlg3-optional", "concord-ma-RR.opt"))
    records[3] = records[3][:66] + "   " + records[3][69:]  # blank horizontal datum
    path = os.path.join(tempfile.mkdtemp(dir=scratch), "nodatum.opt")
    with open(path, "w", encoding="latin-1") as f:
        f.write("".join(records))
    out_dir = tempfile.mkdtemp(dir=scratch)
    convert(runner, "opt", path, out_dir)
    check_unknown_datum("concord-ma-RR.opt, blank datum", run_directory(out_dir),
                        "record 4 gives no horizontal datum", failures)


def run_directory(out_dir):
    runs = [d for d in glob.glob(os.path.join(out_dir, "*shp")) if os.path.isdir(d)]
    return runs[0] if len(runs) == 1 else None


def sdts_transfers(runner, data_dir, scratch, failures):
    for catalog in sorted(glob.glob(os.path.join(data_dir, "sdts", "*", "*CATD.DDF"))):
        label = os.path.basename(os.path.dirname(catalog))
        source = ogr.Open(catalog)
        # GDAL's own SDTS reader gives the expectation, independently of ours.
        expected = epsg_of(source.GetLayerByName("LE01").GetSpatialRef())
        header = source.GetLayerByName("AHDR").GetNextFeature()
        corners = {c: (header.GetField(c + "_LONGITUDE"), header.GetField(c + "_LATITUDE"))
                   for c in CORNERS}
        source = None
        out_dir = tempfile.mkdtemp(dir=scratch)
        if not convert(runner, "sdts", catalog, out_dir):
            failures.append(f"{label}: Display failed")
            continue
        run = run_directory(out_dir)
        if run is None:
            failures.append(f"{label}: no run directory under {out_dir}")
            continue
        # The corner points module holds exactly the four corners.
        points = (glob.glob(os.path.join(run, "*NP01*.shp"))
                  or glob.glob(os.path.join(run, "*NO01*.shp")))
        if not points:
            failures.append(f"{label}: no node shapefile in {run}")
            continue
        check_run(label, run, expected, corners, points[0], failures)


def dlg_records(path):
    with open(path, "rb") as f:
        data = f.read()
    text = data.decode("latin-1")
    if "\n" in text[:100]:
        return text.splitlines()
    return [text[i:i + 80] for i in range(0, len(text), 80)]


def optional_files(runner, data_dir, scratch, failures):
    for path in sorted(glob.glob(os.path.join(data_dir, "dlg3-optional", "*.opt"))):
        label = os.path.basename(path)
        records = dlg_records(path)
        record4 = records[3]
        system, zone, datum = int(record4[6:12]), int(record4[12:18]), int(record4[66:69])
        if system != 1 or datum not in (0, 1):
            failures.append(f"{label}: the check expects UTM on NAD27 or NAD83")
            continue
        expected = (26700 if datum == 0 else 26900) + zone
        control_points = int(record4[54:60])
        corners = {}
        for record in records[10:10 + control_points]:
            if record[:2] in CORNERS:
                corners[record[:2]] = (float(record[18:30]), float(record[6:18]))
        out_dir = tempfile.mkdtemp(dir=scratch)
        convert(runner, "opt", path, out_dir)
        run = run_directory(out_dir)
        if run is None:
            failures.append(f"{label}: no run directory under {out_dir}")
            continue
        nodes = glob.glob(os.path.join(run, "*nodes.shp"))
        if not nodes:
            failures.append(f"{label}: no nodes shapefile in {run}")
            continue
        check_run(label, run, expected, corners, nodes[0], failures)


def convert(runner, kind, input_path, out_dir):
    """Runs Display (kind "sdts") or DisplayOpt ("opt"); True when it reports success."""
    run = subprocess.run([runner, kind, input_path, out_dir], capture_output=True, text=True)
    if run.returncode != 0:
        print(run.stdout + run.stderr)
    return run.returncode == 0


def main():
    runner, data_dir = sys.argv[1:3]
    if not os.path.isdir(os.path.join(data_dir, "sdts")):
        print(f"SKIP: real DLG data not found at {data_dir}")
        return 0
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        os.environ["TEMP"] = scratch  # the converters' work files
        sdts_transfers(runner, data_dir, scratch, failures)
        optional_files(runner, data_dir, scratch, failures)
        unknown_datum(runner, data_dir, scratch, failures)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
