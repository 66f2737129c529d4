#!/usr/bin/env python3
"""Makes renamed-attachment.accdb, a copy of real/complexDataTestV2010.accdb
whose attachment column attach-data of Table1 is renamed attach-file, as
Access renames it: in the table's definition and in MSysComplexColumns. The
hidden table that holds the files keeps its key column _attach-data, named
after the column as it was created.

    python3 tests/data/make_renamed_attachment_accdb.py \
        tests/data/real/complexDataTestV2010.accdb tests/data/renamed-attachment.accdb
"""
import sys

OLD = "attach-data".encode("utf-16le")
NEW = "attach-file".encode("utf-16le")
TABLE1_DEFINITION = 0x6D1CD  # the column name in Table1's definition page
COMPLEX_COLUMNS_ROW = 0x74F0A  # ColumnName in the MSysComplexColumns row


def main(source, target):
    data = bytearray(open(source, "rb").read())
    for offset in (TABLE1_DEFINITION, COMPLEX_COLUMNS_ROW):
        if data[offset : offset + len(OLD)] != OLD:
            sys.exit("unexpected source file: no column name at %#x" % offset)
        data[offset : offset + len(NEW)] = NEW
    open(target, "wb").write(data)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
