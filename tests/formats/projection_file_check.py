"""GDAL must read every projection file we write back as the CRS we meant.

Usage: projection_file_check.py <projection_file_samples program>
Skips (exit 0) when GDAL's Python bindings are absent.
"""
import glob
import os
import subprocess
import sys
import tempfile

try:
    from osgeo import osr
except ImportError:
    print("SKIP: GDAL Python bindings (osgeo) not available")
    sys.exit(0)


def read_prj(path):
    srs = osr.SpatialReference()
    with open(path) as f:
        if srs.ImportFromESRI([f.read()]) != 0:
            raise AssertionError(f"{path}: GDAL cannot read it")
    return srs


def best_epsg(srs):
    matches = [(s, c) for s, c in srs.FindMatches() if s.GetAuthorityName(None) == "EPSG"]
    if not matches or matches[0][1] < 70:
        return None
    return int(matches[0][0].GetAuthorityCode(None))


def main():
    failures = []
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([sys.argv[1], out], capture_output=True, text=True)
        print(run.stdout, end="")
        if run.returncode != 0:
            failures.append(f"sample writer failed ({run.returncode}): {run.stderr}")
        for path in sorted(glob.glob(os.path.join(out, "*.prj"))):
            name = os.path.basename(path)[:-4]
            srs = read_prj(path)
            if name == "custom_albers":
                checks = {"PROJECTION": "Albers_Conic_Equal_Area",
                          "DATUM": "North_American_Datum_1983"}
                for key, value in checks.items():
                    if srs.GetAttrValue(key) != value:
                        failures.append(f"{name}: {key} is {srs.GetAttrValue(key)}, not {value}")
                for param, value in [(osr.SRS_PP_STANDARD_PARALLEL_1, 30.0),
                                     (osr.SRS_PP_STANDARD_PARALLEL_2, 45.5),
                                     (osr.SRS_PP_LONGITUDE_OF_CENTER, -96.0),
                                     (osr.SRS_PP_LATITUDE_OF_CENTER, 23.0)]:
                    if abs(srs.GetProjParm(param) - value) > 1e-9:
                        failures.append(f"{name}: {param} is {srs.GetProjParm(param)}, not {value}")
                continue
            found = best_epsg(srs)
            print(f"{name}.prj -> EPSG:{found}")
            if found != int(name):
                failures.append(f"{name}.prj identifies as EPSG:{found}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
