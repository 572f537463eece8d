#!/usr/bin/env python3
"""Writes the seed corpus of the report form, picture and prepared-report fuzz targets,
byte by byte: a current form with a page, a line and a dictionary, a form without a
version byte, small pictures (a PNG, a WMF, an EMF and a picture record), and prepared
reports (current with a line and a memo, without a version byte, metafile pages)."""
import os
import struct
import zlib

root = os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus")


def s(text):  # length, bytes, zero
    b = text.encode()
    return struct.pack("<H", len(b)) + b + b"\0"


def empty_list():
    return struct.pack("<H", 0) + b"\0"


def record(name, frame_typ=4, fill=0xFFFFFF, prepared=False):
    b = s(name) + bytes([2, 0]) + struct.pack("<iiiiHHiiHi", 0, 0, 100, 0, 1, frame_typ, 1, 0, 0, fill)
    if not prepared:
        b += struct.pack("<i", 0x22E) + s("")
    b += empty_list()
    if not prepared:
        b += empty_list() + struct.pack("<H", 0xFFFF)
    return b + struct.pack("<H", 0) + s("") + struct.pack("<ii", 2, 1) + b"\0"


def page_record():
    b = struct.pack("<iiii", -1, 9, 2100, 2970) + struct.pack("<iiii", 0, 0, 0, 0) + b"\0"
    b += struct.pack("<iHHii", -1, 0, 0xFFFF, 1, 0) + b"\0" + s("Page1") + b"\0" + s("Form")
    b += struct.pack("<iiiii", 0, 220, 120, 380, 300) + b"\1" + empty_list()
    return b


def current_form():
    head = bytes([25]) + struct.pack("<HH", 1, 0) + s("") + b"\xff" + page_record()
    line = record("Line1")
    start = len(head) + 2 + 4
    head += bytes([4, 0]) + struct.pack("<i", start + len(line)) + line
    head += b"\xfe" + struct.pack("<hi", -2, 1) + s("Total") + s("1+2") + struct.pack("<ii", 0, 0)
    head += b"\xfc" + struct.pack("<H", 0) * 7 + struct.pack("<H", 0) + bytes([88, 0]) + struct.pack("<dd", 0, 1)
    return head


def old_form():
    page = b"\xff" + struct.pack("<iiiiiii", 9, 2100, 2970, 0, 0, 0, 0) + b"\0" + b"\0" * 6
    page += struct.pack("<HHii", 0, 0xFFFF, 1, 0) + b"\0" + b"Form\0" + struct.pack("<iiiii", 0, 0, 0, 0, 0) + b"\1"
    line = struct.pack("<iiiiHHiiHi", 0, 0, 100, 0, 1, 4, 1, 0, 0, 0xFFFFFF) + struct.pack("<i", 0) + b"\0" + b"a\0"
    return struct.pack("<HH", 0, 0) + b"\0" + page + bytes([4, 0]) + line + b"\xfc"


def png():
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + b"\x00\xff\x00" * 4 for _ in range(4))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def wmf():
    def rec(function, *params):
        return struct.pack("<IH", 3 + len(params), function) + struct.pack("<%dh" % len(params), *params)
    body = (rec(0x020B, 0, 0) + rec(0x020C, 100, 100) + rec(0x02FC, 0, 0xFF, 0, 0) + rec(0x012D, 0)
            + rec(0x041B, 90, 90, 10, 10) + rec(0))
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, 1, 7, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 100, 100, 96, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + body


def emf():
    def rec(kind, *params):
        return struct.pack("<II", kind, 8 + 4 * len(params)) + struct.pack("<%dI" % len(params), *params)
    body = rec(39, 1, 0, 0xFF, 0) + rec(37, 1) + rec(43, 10, 10, 90, 90) + rec(14, 0, 16, 20)
    header = struct.pack("<II4i4iIIIIHHIIIiiii", 1, 88, 0, 0, 99, 99, 0, 0, 2645, 2645, 0x464D4520, 0x10000,
                         88 + len(body), 5, 2, 0, 0, 0, 0, 1000, 1000, 264, 264)
    return header + body


def picture_record(kind, data):
    b = record("Picture1", frame_typ=0, fill=0x1FFFFFFF)
    return b + bytes([kind, 0]) + struct.pack("<i", len(b) + 6 + len(data)) + data


def vrp_page(objects, version=25):
    head = struct.pack("<HiiB", 9, 2100, 2970, 0)
    if version > 23:
        head += struct.pack("<iB4i", -1, 1, 36, 20, 0, 0)
    else:
        head += b"\1"
    return head + bytes([25]) + objects


def vrp(pages, version=25):
    b = (bytes([version]) if version > 23 else b"") + b"\0" + s("Printer") + struct.pack("<i", len(pages))
    for objects in pages:
        page = vrp_page(objects, version)
        b += struct.pack("<i", len(b) + 4 + len(page)) + page
    return b + bytes([88])


def prepared_memo():
    tail = s("Arial") + struct.pack("<iHiiH", 10, 0, 0, 0, 1) + struct.pack("<ii", 2, 0)
    return bytes([0]) + record("Memo1", frame_typ=0, prepared=True) + tail


def legacy_vrp():
    metafile = wmf()
    b = b"Printer\0" + struct.pack("<i", 1)
    page = struct.pack("<HiiBB", 9, 2100, 2970, 0, 1) + metafile
    return b + struct.pack("<i", len(b) + 4 + len(page)) + page


files = {
    "report_vrp/current.vrp": vrp([bytes([4]) + record("Line1", prepared=True) + prepared_memo(), b""]),
    "report_vrp/no_version_byte.vrp": vrp([b""], version=0),
    "report_vrp/metafile_pages.vrp": legacy_vrp(),
    "report_form/current.rpf": current_form(),
    "report_form/no_version_byte.rpf": old_form(),
    "report_picture/png": bytes([1]) + png(),
    "report_picture/wmf": bytes([2]) + wmf(),
    "report_picture/emf": bytes([2]) + emf(),
    "report_picture/record": bytes([5]) + picture_record(1, png()),
}
for name, data in files.items():
    with open(os.path.join(root, name), "wb") as f:
        f.write(data)
