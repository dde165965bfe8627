"""Reads MeridalVorn.gms as a VBA host would, independently of the packer: the compound
file through Debian's olefile, the compressed streams through a decompressor written here
from the published format and first checked against its worked examples.

usage: read_gms.py PROJECT.gms SOURCE.bas
Prints one line per check, "ok NAME" or "not ok NAME: why"; exit status 1 when any failed.
"""
import struct
import sys

import olefile


def decompress(container):
    """The data of a compressed container; ValueError when it is malformed."""
    if not container or container[0] != 0x01:
        raise ValueError("no signature byte")
    out = bytearray()
    at = 1
    while at < len(container):
        if at + 2 > len(container):
            raise ValueError("chunk header cut off")
        header = container[at] | container[at + 1] << 8
        if (header >> 12) & 7 != 3:
            raise ValueError("bad chunk signature at %d" % at)
        end = min(at + (header & 0x0FFF) + 3, len(container))
        pos = at + 2
        start = len(out)
        if not header & 0x8000:
            if end - pos != 4096:
                raise ValueError("short raw chunk at %d" % at)
            out += container[pos:end]
        while header & 0x8000 and pos < end:
            flags = container[pos]
            pos += 1
            for bit in range(8):
                if pos >= end:
                    break
                if not flags >> bit & 1:
                    out.append(container[pos])
                    pos += 1
                    continue
                token = container[pos] | container[pos + 1] << 8
                pos += 2
                bits = max((len(out) - start - 1).bit_length(), 4)
                offset = (token >> (16 - bits)) + 1
                length = (token & (0xFFFF >> bits)) + 3
                if offset > len(out) - start:
                    raise ValueError("copy token before its chunk at %d" % (pos - 2))
                for _ in range(length):
                    out.append(out[-offset])
        at = end
    return bytes(out)


def dir_records(data):
    """(id, payload) of each dir record; the version record's size field says 4 for 6 bytes."""
    records = []
    at = 0
    while at < len(data):
        rid, size = struct.unpack_from("<HI", data, at)
        if rid == 0x0009:
            size = 6
        records.append((rid, data[at + 6 : at + 6 + size]))
        at += 6 + size
    return records


def main():
    gms_path, source_path = sys.argv[1], sys.argv[2]
    results = []

    def check(name, passed, why=""):
        results.append(passed)
        print(("ok %s" % name) if passed else ("not ok %s: %s" % (name, why)))

    examples = [
        (bytes.fromhex("01 19 B0 00 61 62 63 64 65 66 67 68 00 69 6A 6B 6C 6D 6E 6F 70 00 71 72 73 74 75 76 2E"),
         b"abcdefghijklmnopqrstuv."),
        (bytes.fromhex("01 2F B0 00 23 61 61 61 62 63 64 65 82 66 00 70 61 67 68 69 6A 01 38 08 61 6B 6C"
                       "00 20 6D 6E 6F 70 06 71 02 70 04 00 72 73 74 75 76 10 77 78 79 7A 00 2C"),
         b"#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa"),
        (bytes.fromhex("01 03 B0 02 61 FC 0F 01 B0 00 61"), b"a" * 4097),
    ]
    check("the decompressor gives the worked examples", all(decompress(c) == d for c, d in examples))

    ole = olefile.OleFileIO(gms_path)
    streams = ["/".join(path) for path in ole.listdir(streams=True)]
    check("the file holds the project's streams",
          sorted(streams) == ["PROJECT", "PROJECTwm", "VBA/Ver001", "VBA/_VBA_PROJECT", "VBA/dir"], streams)

    project = ole.openstream("PROJECT").read().split(b"\r\n")
    check("PROJECT names the project", b'Name="MeridalVorn"' in project)
    check("PROJECT lists the standard module", b"Module=Ver001" in project)
    check("_VBA_PROJECT asks for a compile from source",
          ole.openstream("VBA/_VBA_PROJECT").read() == bytes.fromhex("CC61FFFF000100"))

    records = dir_records(decompress(ole.openstream("VBA/dir").read()))
    values = {}
    for rid, payload in records:
        values.setdefault(rid, payload)
    check("dir: project name", values.get(0x0004) == b"MeridalVorn", values.get(0x0004))
    check("dir: code page 1252", values.get(0x0003) == struct.pack("<H", 1252))
    check("dir: one module", values.get(0x000F) == struct.pack("<H", 1), values.get(0x000F))
    check("dir: module Ver001 in stream Ver001", values.get(0x0019) == b"Ver001" and values.get(0x001A) == b"Ver001")
    check("dir: a procedural module", 0x0021 in values)
    check("dir: ends with its terminator", records[-1] == (0x0010, b""))
    offset = struct.unpack("<I", values.get(0x0031, b"\xff\xff\xff\xff"))[0]
    check("dir: the source at offset 0", offset == 0, offset)

    with open(source_path, "rb") as f:
        source = f.read()
    expected = source.replace(b"\r\n", b"\n").replace(b"\r", b"\n").replace(b"\n", b"\r\n")
    module = ole.openstream("VBA/Ver001").read()
    check("the module's source is Ver001.bas with CR LF line ends", decompress(module[offset:]) == expected)
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
