#!/usr/bin/python3
"""The outputs of the real data are a contract. Every SDTS transfer, every .tar archive of one
and every DLG-3 optional-format file beside the checkout is converted by corvane, each into a
directory of its own, and the md5 of every output file is held against real_outputs.md5.
What follows the clock or the machine is taken out first: the date in each dBase header, the
time stamp in SDTS run directory names, and in log and document files the start time and the
data, output, staging and unpack directories.

usage: golden.py check|update CORVANE DATA_DIR   (update rewrites the manifest)
"""
import hashlib
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from crosscheck import convert_each, fail, finish, real_inputs  # noqa: E402

MANIFEST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "real_outputs.md5")
TIME = r"\d+_\d+_\d+_\d+_\d+"


def digest(path, replacements):
    with open(path, "rb") as f:
        content = f.read()
    if path.endswith(".dbf"):
        content = content[:1] + b"\0\0\0" + content[4:]
    elif path.endswith((".log", ".doc")):
        text = content.decode("latin-1")
        for pattern, replacement in replacements:
            text = re.sub(pattern, replacement, text)
        content = text.encode("latin-1")
    return hashlib.md5(content).hexdigest()


def outputs(corvane, data, scratch):
    """{input relative to the data / run directory / file: md5} of every output file."""
    os.environ["TEMP"] = scratch  # the unpack directories and work files
    out = os.path.join(scratch, "out")
    replacements = [(r"started on \S+ at \S+", "started on X"), (re.escape(out), "OUT"),
                     (re.escape(data), "DATA"), (r"\S*corvane-unpack-\w+", "UNPACK"),
                     (r"/\.corvane-staging-\w+", ""), (TIME, "TIME")]
    sums = {}
    for path, run in convert_each(corvane, real_inputs(data, "sdts", "tar", "opt"), out).items():
        for name in sorted(os.listdir(run or "/nonexistent")):
            key = f"{os.path.relpath(path, data)}/{re.sub(TIME, 'TIME', os.path.basename(run))}/{name}"
            sums[key] = digest(os.path.join(run, name), replacements)
    return sums


def main(mode, corvane, data):
    data = os.path.abspath(data)
    with tempfile.TemporaryDirectory(prefix="corvane-golden-") as scratch:
        got = outputs(corvane, data, scratch)
    if mode == "update":
        with open(MANIFEST, "w") as f:
            f.writelines(f"{md5}  {key}\n" for key, md5 in sorted(got.items()))
        return finish(f"{len(got)} output files written to {MANIFEST}")
    with open(MANIFEST) as f:
        expected = dict(reversed(line.rstrip("\n").split("  ", 1)) for line in f)
    for key in sorted(set(got) | set(expected)):
        if got.get(key) != expected.get(key):
            fail(f"{key}: {got.get(key, 'missing')}, the manifest has {expected.get(key, 'nothing')}")
    return finish(f"{len(expected)} output files of the real data compared with the manifest")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
