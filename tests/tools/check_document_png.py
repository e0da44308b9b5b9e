#!/usr/bin/env python3
"""Checks an editable document written by the Windows program with readers
that share no code with it: pngcheck (chunk layout, CRCs, image data), and
Python for where the private chunk sits and what it holds.

    check_document_png.py WINE_EXEC PREFIX WRITER_EXE

Runs the writer under Wine to make "sample.vexil" in the current folder,
then requires a valid PNG with exactly one "vxIL" chunk, placed just before
IEND, holding the header, the scene text and a frame PNG that is itself
valid."""

import struct
import subprocess
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def pngcheck(path):
    run = subprocess.run(["pngcheck", "-v", path], capture_output=True, text=True)
    if run.returncode != 0:
        fail("pngcheck refused %s:\n%s%s" % (path, run.stdout, run.stderr))


def chunks_of(data):
    """(type, data) of each chunk; pngcheck has checked the layout."""
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunks.append((kind, data[pos + 8:pos + 8 + length]))
        pos += 12 + length
    return chunks


def main():
    wine_exec, prefix, writer = sys.argv[1:4]
    run = subprocess.run([wine_exec, prefix, writer, "sample.vexil"], capture_output=True, text=True)
    if run.returncode != 0:
        fail("the writer failed:\n" + run.stdout + run.stderr)
    pngcheck("sample.vexil")
    with open("sample.vexil", "rb") as f:
        document = f.read()

    chunks = chunks_of(document)
    kinds = [kind for kind, _ in chunks]
    if kinds.count(b"vxIL") != 1 or kinds[-2:] != [b"vxIL", b"IEND"]:
        fail("expected one vxIL chunk just before IEND, got %r" % kinds)
    header, _, rest = chunks[-2][1].partition(b"\n")
    if not header.startswith(b"glimmerly-document ") or not 1 <= int(header[19:]) <= 8:
        fail("header line %r" % header)
    if not rest.startswith(b"frame "):
        fail("scene text does not begin with its frame line")
    marker = rest.find(b"\nframe-png ")
    if marker < 0:
        fail("no frame-png line")
    count_line, _, frame = rest[marker + 1:].partition(b"\n")
    if int(count_line[len(b"frame-png "):]) != len(frame):
        fail("frame-png count does not match the bytes that follow")
    with open("sample-frame.png", "wb") as f:
        f.write(frame)
    pngcheck("sample-frame.png")
    print("PASS: one vxIL chunk in a valid PNG, frame PNG valid (%d bytes)" % len(document))


main()
