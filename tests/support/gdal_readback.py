#!/usr/bin/python3
"""Reads a shapefile (.shp) or a dBase table (.dbf) back through GDAL/OGR, a reader
independent of ours, so tests can check what our writers produced.

Run with Debian's /usr/bin/python3 (python3-gdal installs osgeo for it):

    /usr/bin/python3 tests/support/gdal_readback.py FILE.shp|FILE.dbf

prints one JSON object and exits 0; exits 1 with a message on stderr when GDAL cannot
open the file. When osgeo is not installed it prints {"skipped": "<reason>"} and exits 0.

As a module: ``available()`` says whether osgeo can be imported; ``read(path)`` returns the
same object as a dict (raises ReadbackError when GDAL cannot open the file).

The object:

    {
      "path": "<the path given>",
      "geometry_type": "Point" | "LineString" | "Polygon" | "None" | <other OGR name>,
                        # the layer's type; a PolyLine file reads as "LineString",
                        # a bare .dbf as "None"
      "feature_count": <int>,
      "extent": {"xmin": f, "ymin": f, "xmax": f, "ymax": f} or null,
                        # from the file header as OGR reports it; null for a bare .dbf
      "fields": [{"name": str, "type": "String" | "Integer" | "Integer64" | "Real" | ...,
                  "width": int, "precision": int}, ...],   # in table order
      "records": [{"fid": int,
                   "values": {field name: str | int | float | null},  # strings as OGR
                                                                       # gives them
                                                                       # (trailing blanks cut)
                   "wkt": "<geometry as WKT>" or null}, ...],         # in file order
      "headers": {"shp": H, "shx": H} or null    # for a .shp (and its .shx) only
    }

OGR reports the extent of the geometries, whatever the file header says, so the two
100-byte headers are also decoded here directly (with struct, not through our code):

    H = {"file_code": int, "file_length_words": int, "file_bytes": <actual size>,
         "version": int, "shape_type": int,
         "xmin": f, "ymin": f, "xmax": f, "ymax": f}

OGR's own reading rules apply: 'C' fields are "String", 'N' fields without decimals
"Integer" (or "Integer64" from width 10 on), with decimals "Real"; a Polygon record whose
rings OGR cannot sort into one polygon reads as "MULTIPOLYGON".
"""

import json
import os
import struct
import sys

try:
    from osgeo import gdal, ogr
    gdal.UseExceptions()
    _IMPORT_ERROR = None
except ImportError as error:  # python3-gdal missing, or another interpreter
    _IMPORT_ERROR = str(error)

_GEOMETRY_NAMES = {}
if _IMPORT_ERROR is None:
    _GEOMETRY_NAMES = {
        ogr.wkbNone: "None",
        ogr.wkbUnknown: "Unknown",
        ogr.wkbPoint: "Point",
        ogr.wkbLineString: "LineString",
        ogr.wkbPolygon: "Polygon",
        ogr.wkbMultiPoint: "MultiPoint",
        ogr.wkbMultiLineString: "MultiLineString",
        ogr.wkbMultiPolygon: "MultiPolygon",
    }


class ReadbackError(Exception):
    """GDAL could not open or read the file."""


def available():
    """True when osgeo.ogr can be used."""
    return _IMPORT_ERROR is None


def skip_reason():
    """Why GDAL is not available (None when it is)."""
    return None if available() else "osgeo (python3-gdal) is not installed: " + _IMPORT_ERROR


def _value(feature, index, field_type):
    if not feature.IsFieldSetAndNotNull(index):
        return None
    if field_type in (ogr.OFTInteger, ogr.OFTInteger64):
        return feature.GetFieldAsInteger64(index)
    if field_type == ogr.OFTReal:
        return feature.GetFieldAsDouble(index)
    return feature.GetFieldAsString(index)


def _shape_header(path):
    with open(path, "rb") as f:
        raw = f.read(100)
    if len(raw) < 100:
        raise ReadbackError(f"{path} is shorter than a shapefile header")
    code, = struct.unpack(">i", raw[0:4])
    length, = struct.unpack(">i", raw[24:28])
    version, shape_type = struct.unpack("<ii", raw[28:36])
    xmin, ymin, xmax, ymax = struct.unpack("<dddd", raw[36:68])
    return {"file_code": code, "file_length_words": length, "file_bytes": os.path.getsize(path),
            "version": version, "shape_type": shape_type,
            "xmin": xmin, "ymin": ymin, "xmax": xmax, "ymax": ymax}


def _headers(path):
    stem, extension = os.path.splitext(path)
    if extension.lower() != ".shp":
        return None
    index = stem + (".SHX" if extension == ".SHP" else ".shx")
    return {"shp": _shape_header(path), "shx": _shape_header(index)}


def read(path):
    """The file at `path` as OGR sees it (see the module's docstring)."""
    if not available():
        raise ReadbackError(skip_reason())
    try:
        source = ogr.Open(path)
    except RuntimeError as error:
        raise ReadbackError(f"GDAL cannot open {path}: {error}") from error
    if source is None or source.GetLayerCount() != 1:
        raise ReadbackError(f"GDAL cannot open {path} as one layer")
    layer = source.GetLayer(0)
    definition = layer.GetLayerDefn()
    fields = []
    for i in range(definition.GetFieldCount()):
        f = definition.GetFieldDefn(i)
        fields.append({"name": f.GetName(), "type": ogr.GetFieldTypeName(f.GetType()),
                       "width": f.GetWidth(), "precision": f.GetPrecision()})
    geom_type = layer.GetGeomType()
    extent = None
    if geom_type != ogr.wkbNone:
        xmin, xmax, ymin, ymax = layer.GetExtent(force=0)
        extent = {"xmin": xmin, "ymin": ymin, "xmax": xmax, "ymax": ymax}
    records = []
    layer.ResetReading()
    for feature in layer:
        geometry = feature.GetGeometryRef()
        records.append({
            "fid": feature.GetFID(),
            "values": {fields[i]["name"]: _value(feature, i, definition.GetFieldDefn(i).GetType())
                       for i in range(len(fields))},
            "wkt": geometry.ExportToWkt() if geometry is not None else None,
        })
    return {
        "path": path,
        "geometry_type": _GEOMETRY_NAMES.get(geom_type, ogr.GeometryTypeToName(geom_type)),
        "feature_count": layer.GetFeatureCount(),
        "extent": extent,
        "fields": fields,
        "records": records,
        "headers": _headers(path),
    }


def main(argv):
    if len(argv) != 2:
        print("usage: gdal_readback.py FILE.shp|FILE.dbf", file=sys.stderr)
        return 2
    if not available():
        print(json.dumps({"skipped": skip_reason()}))
        return 0
    try:
        print(json.dumps(read(argv[1]), indent=1))
    except ReadbackError as error:
        print(error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
