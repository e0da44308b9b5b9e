#!/usr/bin/env python3
"""Checks an editable document written by the Windows program with a PNG
reader that shares no code with it:

    check_document_png.py WINE_EXEC PREFIX WRITER_EXE

Runs the writer under Wine to make "sample.vexil" in the current folder,
then requires pngcheck to find a valid PNG (chunk layout, CRCs, image data)
with exactly one "vxIL" chunk, placed just before IEND. What the chunk holds
is the core tests' to check, byte for byte."""

import subprocess
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main():
    wine_exec, prefix, writer = sys.argv[1:4]
    run = subprocess.run([wine_exec, prefix, writer, "sample.vexil"], capture_output=True, text=True)
    if run.returncode != 0:
        fail("the writer failed:\n" + run.stdout + run.stderr)
    check = subprocess.run(["pngcheck", "-v", "sample.vexil"], capture_output=True, text=True)
    if check.returncode != 0:
        fail("pngcheck refused the document:\n" + check.stdout + check.stderr)
    kinds = [line.split()[1] for line in check.stdout.splitlines() if line.startswith("  chunk ")]
    if kinds.count("vxIL") != 1 or kinds[-2:] != ["vxIL", "IEND"]:
        fail("expected one vxIL chunk just before IEND, got %r" % kinds)
    print("PASS: one vxIL chunk in a valid PNG")


main()
