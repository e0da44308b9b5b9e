#!/usr/bin/env python3
"""Checks an editable document written by the Windows program with readers
that share no code with it: pngcheck, and a chunk walk with Python's zlib.

    check_document_png.py WINE_EXEC PREFIX WRITER_EXE

Runs the writer under Wine to make "sample.vexil" in the current folder,
then requires a valid PNG whose visible image decompresses, with exactly one
"vxIL" chunk, placed just before IEND, holding the header, the scene text and
a frame PNG that is itself valid."""

import struct
import subprocess
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def chunks_of(data, what):
    if not data.startswith(SIGNATURE):
        fail(what + ": no PNG signature")
    pos, chunks = len(SIGNATURE), []
    while pos < len(data):
        if pos + 8 > len(data):
            fail(what + ": chunk header cut short")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length or pos + 12 + length > len(data):
            fail(what + ": chunk %r runs past the end" % kind)
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            fail(what + ": CRC of chunk %r" % kind)
        chunks.append((kind, body))
        pos += 12 + length
        if kind == b"IEND":
            break
    if not chunks or chunks[-1][0] != b"IEND":
        fail(what + ": no IEND")
    if pos != len(data):
        fail(what + ": bytes after IEND")
    return chunks


def check_image(data, what):
    chunks = chunks_of(data, what)
    if chunks[0][0] != b"IHDR":
        fail(what + ": IHDR is not first")
    width, height, depth, colour = struct.unpack(">IIBB", chunks[0][1][:10])
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    if len(raw) != height * (1 + (width * channels * depth + 7) // 8):
        fail(what + ": pixel data of the wrong size")
    return chunks, width, height


def pngcheck(path):
    run = subprocess.run(["pngcheck", "-v", path], capture_output=True, text=True)
    if run.returncode != 0:
        fail("pngcheck refused %s:\n%s%s" % (path, run.stdout, run.stderr))
    return run.stdout


def main():
    wine_exec, prefix, writer = sys.argv[1:4]
    run = subprocess.run([wine_exec, prefix, writer, "sample.vexil"], capture_output=True, text=True)
    if run.returncode != 0:
        fail("the writer failed:\n" + run.stdout + run.stderr)
    with open("sample.vexil", "rb") as f:
        document = f.read()

    report = pngcheck("sample.vexil")
    if report.count("chunk vxIL") != 1:
        fail("pngcheck saw %d vxIL chunks:\n%s" % (report.count("chunk vxIL"), report))

    chunks, _, _ = check_image(document, "document")
    kinds = [kind for kind, _ in chunks]
    if kinds.count(b"vxIL") != 1 or kinds[-2] != b"vxIL":
        fail("expected one vxIL chunk just before IEND, got %r" % kinds)
    data = chunks[-2][1]
    header, _, rest = data.partition(b"\n")
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
    check_image(frame, "frame")
    print("PASS: one vxIL chunk in a valid PNG, frame PNG valid (%d bytes)" % len(document))


main()
