"""Converts every real SDTS transfer and checks its run files against the transfer's IDEN,
XREF and IREF modules as iso8211dump shows them, and the layer extents GDAL's SDTS reader
gives against our shapefiles' headers and the SPDM spatial domain.

usage: real_transfer_check.py CONVERT_INPUTS ISO8211DUMP DATA_DIR
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from crosscheck import (catalogs, check, convert_transfer, dump, finish, first, need,  # noqa: E402
                        shape_header)


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


def main(converter, tool, data):
    ogr, = need("osgeo.ogr")
    compared = 0
    with tempfile.TemporaryDirectory(prefix="corvane-real-") as work:
        os.environ["TEMP"] = work
        for catalog in catalogs(data):
            folder = os.path.dirname(catalog)
            modules = {name[4:8]: os.path.join(folder, name) for name in os.listdir(folder)}
            base = os.path.basename(catalog)[:-4]
            run = convert_transfer(converter, catalog, os.path.join(work, os.path.basename(folder)))
            if run is None:
                continue
            check(f"{folder}: run directory name", os.path.basename(run), os.path.basename(folder) + base + "shp")
            check_run_files(folder, run, base, modules, tool)
            compared += check_extents(folder, run, catalog, modules, tool, ogr)
    return finish(f"compared {compared} layer extents with GDAL")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
