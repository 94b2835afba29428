#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend on nothing but the files put into it and one time.

    make_zip.py ARCHIVE EPOCH NAME=FILE [NAME=FILE...]

The entries are stored in the order given, deflated at level 9, without extra fields, each
with the time EPOCH (seconds since 1970, as SOURCE_DATE_EPOCH; a zip's times carry no time
zone, so it is written as UTC) and the permissions rw-r--r-- (rwxr-xr-x for a NAME ending in
.exe). The same arguments give the same bytes on any machine with the same zlib.
"""
import sys
import time
import zipfile

UNIX = 3  # the "version made by" system that gives the permissions their meaning
REGULAR_FILE = 0o100000


def main(arguments):
    if len(arguments) < 3:
        sys.exit(__doc__)
    archive, epoch, entries = arguments[0], int(arguments[1]), arguments[2:]
    # A zip's times start in 1980.
    stamp = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
    with zipfile.ZipFile(archive, "w") as out:
        for entry in entries:
            name, _, path = entry.partition("=")
            if not name or not path:
                sys.exit(f"make_zip.py: NAME=FILE expected, not {entry!r}")
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = UNIX
            mode = 0o755 if name.endswith(".exe") else 0o644
            info.external_attr = (REGULAR_FILE | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                out.writestr(info, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1:])
