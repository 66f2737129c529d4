#!/usr/bin/env python3
"""Makes bigint.accdb, a copy of shop.accdb whose Types table has a Large
Number column (type 0x13, Access 2016+), which no other test file has.

The Currency column tMoney of Types is already 8 fixed bytes holding a
little-endian 64-bit integer, the layout of a Large Number: the script turns
its type byte into 0x13, renames it tLarge (same length) and rewrites two of
its values so that the column holds 42, Null, the largest and the smallest
64-bit integers and 2^53 + 1 (the first whole number a double cannot hold).

    python3 tests/data/make_bigint_accdb.py tests/data/shop.accdb tests/data/bigint.accdb
"""
import struct
import sys

PAGE = 4096
TYPES_DEFINITION_PAGE = 145  # MSysObjects.Id of Types
BIG_INT = 0x13


def column_entries(page):
    """(offset of each 25-byte column entry, offset of each name) in a table definition page."""
    columns = struct.unpack_from('<H', page, 45)[0]
    real_indexes = struct.unpack_from('<I', page, 51)[0]
    first = 63 + real_indexes * 12
    entries = [first + 25 * i for i in range(columns)]
    names, at = [], first + 25 * columns
    for _ in range(columns):
        names.append(at)
        at += 2 + struct.unpack_from('<H', page, at)[0]
    return entries, names


def main(source, target):
    data = bytearray(open(source, 'rb').read())
    definition = TYPES_DEFINITION_PAGE * PAGE
    page = data[definition:definition + PAGE]
    entries, names = column_entries(page)
    column = next(i for i, at in enumerate(names)
                  if page[at + 2:at + 2 + 12].decode('utf-16le') == 'tMoney')
    entry = definition + entries[column]
    assert data[entry] == 0x05 and struct.unpack_from('<H', data, entry + 23)[0] == 8
    data[entry] = BIG_INT
    name = definition + names[column] + 2
    data[name:name + 12] = 'tLarge'.encode('utf-16le')
    fixed_offset = struct.unpack_from('<H', data, entry + 21)[0]

    for number in range(len(data) // PAGE):
        start = number * PAGE
        if data[start] != 0x01 or struct.unpack_from('<I', data, start + 4)[0] != TYPES_DEFINITION_PAGE:
            continue
        rows = struct.unpack_from('<H', data, start + 12)[0]
        assert rows == 5
        for row, value in ((0, 42), (4, 2 ** 53 + 1)):
            at = start + (struct.unpack_from('<H', data, start + 14 + 2 * row)[0] & 0x1fff) + 2 + fixed_offset
            struct.pack_into('<q', data, at, value)
    open(target, 'wb').write(data)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
