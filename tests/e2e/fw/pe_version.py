#!/usr/bin/env python3
"""The version information of a Windows program (a PE file), read from the file itself rather
than asked of Windows, so that a resource the build got wrong cannot be papered over by the loader.

    python3 tests/e2e/fw/pe_version.py FILE

version_info(FILE) gives, and the command prints one "NAME<tab>VALUE" line per value:
"fixed.FileVersion" and "fixed.ProductVersion" (the four numbers of the fixed block, as a.b.c.d),
then each string of the string tables as "LANGUAGE-CODEPAGE.KEY", e.g.
"040904b0.OriginalFilename". The command exits 1, with the reason on stderr, when the file has no
version resource or it cannot be parsed.
"""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


class NotReadable(Exception):
    pass


def sections_and_resource_rva(data):
    if data[:2] != b"MZ":
        raise NotReadable("not a PE file (no MZ)")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotReadable("not a PE file (no PE signature)")
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    # The data directories follow the optional header's fixed part, whose size depends on the
    # format: 96 bytes for PE32, 112 for PE32+. The resource table is directory 2.
    directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -optional)
    if directories < optional:
        raise NotReadable("unknown optional header magic 0x%x" % magic)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
    if resource_rva == 0 or resource_size == 0:
        raise NotReadable("no resource table")
    sections = []
    for i in range(count):
        entry = optional + optional_size + 40 * i
        virtual_size, rva, raw_size, raw_pointer = struct.unpack_from("<IIII", data, entry + 8)
        sections.append((rva, max(virtual_size, raw_size), raw_pointer))
    return sections, resource_rva


def file_offset(sections, rva):
    for start, size, raw in sections:
        if start <= rva < start + size:
            return raw + rva - start
    raise NotReadable("address 0x%x in no section" % rva)


def first_entry(data, directory, wanted_id=None):
    """The offset field of the directory's entry with that id (any entry when None)."""
    named, ids = struct.unpack_from("<12xHH", data, directory)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
        if wanted_id is None or (not name & 0x80000000 and name == wanted_id):
            return target
    raise NotReadable("no resource entry %s" % wanted_id)


def version_resource(data):
    sections, resource_rva = sections_and_resource_rva(data)
    root = file_offset(sections, resource_rva)
    # Type, then name, then language: the first two are directories (high bit set), the third
    # entry points at the data entry.
    level = first_entry(data, root, RT_VERSION)
    for _ in range(2):
        if not level & 0x80000000:
            raise NotReadable("version resource table is not nested as expected")
        level = first_entry(data, root + (level & 0x7FFFFFFF))
    data_rva, size = struct.unpack_from("<II", data, root + level)
    start = file_offset(sections, data_rva)
    return data[start:start + size]


def align4(offset):
    return (offset + 3) & ~3


def block(resource, offset):
    """One node of the version tree: (key, type, value bytes, children, end offset)."""
    length, value_length, value_type = struct.unpack_from("<HHH", resource, offset)
    end = offset + length
    if length < 6 or end > len(resource):
        raise NotReadable("version block at %d has length %d" % (offset, length))
    key_start = offset + 6
    key_end = key_start
    while resource[key_end:key_end + 2] != b"\0\0":
        key_end += 2
        if key_end >= end:
            raise NotReadable("version block key at %d runs past its block" % offset)
    key = resource[key_start:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    # A text value's length counts UTF-16 units, a binary one's bytes.
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = resource[value_start:value_start + value_bytes]
    children = []
    child = align4(value_start + value_bytes)
    while child < end:
        node = block(resource, child)
        children.append(node)
        child = align4(node[4])
    return key, value_type, value, children, end


def text(value):
    return value.decode("utf-16-le").split("\0", 1)[0]


def version_values(resource):
    key, _, fixed, children, _ = block(resource, 0)
    if key != "VS_VERSION_INFO":
        raise NotReadable("version resource starts with %r" % key)
    values = []
    if len(fixed) < 52 or struct.unpack_from("<I", fixed, 0)[0] != FIXED_SIGNATURE:
        raise NotReadable("no fixed version block")
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", fixed, 8)
    for name, ms, ls in (("FileVersion", file_ms, file_ls),
                         ("ProductVersion", product_ms, product_ls)):
        numbers = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        values.append(("fixed." + name, ".".join(str(n) for n in numbers)))
    for child_key, _, _, tables, _ in children:
        if child_key != "StringFileInfo":
            continue
        for table_key, _, _, strings, _ in tables:
            for string_key, _, value, _, _ in strings:
                values.append(("%s.%s" % (table_key, string_key), text(value)))
    return values


def version_info(path):
    """{NAME: VALUE} of the file's version information; NotReadable when it has none."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        return dict(version_values(version_resource(data)))
    except struct.error as problem:
        raise NotReadable("version resource cut short: %s" % problem)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: pe_version.py FILE")
    try:
        values = version_info(sys.argv[1])
    except NotReadable as problem:
        print("%s: %s" % (sys.argv[1], problem), file=sys.stderr)
        return 1
    for name, value in values.items():
        print("%s\t%s" % (name, value))
    return 0


if __name__ == "__main__":
    sys.exit(main())
