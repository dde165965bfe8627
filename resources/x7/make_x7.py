#!/usr/bin/env python3
"""Writes "X7.wz", the prepared CorelDRAW version 17 workspace, as a ZIP archive.

make_x7.py TEMPLATE ICON-TEXT OUTPUT

The one entry, "DRAWUIConfig.xml", is TEMPLATE with "@TOOLBAR_ICON@" replaced by the text
in ICON-TEXT. The entry is stored uncompressed, dated 1980-01-01 00:00, with no extra
fields, so the same sources always give the same bytes and a reader needs no inflater.
"""
import sys
import zipfile


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: make_x7.py TEMPLATE ICON-TEXT OUTPUT")
    template_path, icon_path, output_path = sys.argv[1:]
    with open(template_path, 'rb') as f:
        template = f.read()
    with open(icon_path, 'rb') as f:
        icon = f.read()
    if template.count(b'@TOOLBAR_ICON@') != 1:
        sys.exit("make_x7: %s must hold @TOOLBAR_ICON@ once" % template_path)
    entry = zipfile.ZipInfo('DRAWUIConfig.xml', date_time=(1980, 1, 1, 0, 0, 0))
    entry.compress_type = zipfile.ZIP_STORED
    entry.create_system = 0  # MS-DOS: no Unix permissions in the archive
    with zipfile.ZipFile(output_path, 'w') as archive:
        archive.writestr(entry, template.replace(b'@TOOLBAR_ICON@', icon))


main()
