"""A program's version information as the file holds it, read with Debian's pefile (independent
of the resource compiler that wrote it): the fixed block's four-part numbers as "fixed.NAME" and
each string table's entries as "LANGCODEPAGE.NAME". Usage: pe_version.py FILE."""
import sys

import pefile


def version_info(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    fixed = pe.VS_FIXEDFILEINFO[0]

    def quad(ms, ls):
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    info = {"fixed.FileVersion": quad(fixed.FileVersionMS, fixed.FileVersionLS),
            "fixed.ProductVersion": quad(fixed.ProductVersionMS, fixed.ProductVersionLS)}
    for entry in (e for group in pe.FileInfo for e in group):
        for table in getattr(entry, "StringTable", []):
            for key, value in table.entries.items():
                info["%s.%s" % (table.LangID.decode(), key.decode())] = value.decode()
    return info


if __name__ == "__main__":
    for key, value in version_info(sys.argv[1]).items():
        print("%s\t%s" % (key, value))
