#!/usr/bin/env python3
"""Prints the dialog templates of a compiled .res file, one line per dialog and control."""
import struct
import sys


def text_or_ordinal(data, offset):
    """A template string field: 0xFFFF and an ordinal, or a NUL-terminated UTF-16 text."""
    if struct.unpack_from('<H', data, offset)[0] == 0xFFFF:
        return struct.unpack_from('<H', data, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from('<H', data, end)[0] != 0:
        end += 2
    return data[offset:end].decode('utf-16le'), end + 2


def dump_dialog(name, body):
    ver, sig = struct.unpack_from('<HH', body, 0)
    if (ver, sig) != (1, 0xFFFF):
        print(f"DLG {name} is not an extended template")
        return
    _, ex, style, count, x, y, cx, cy = struct.unpack_from('<IIIHhhhh', body, 4)
    q = 26
    _, q = text_or_ordinal(body, q)          # menu
    _, q = text_or_ordinal(body, q)          # class
    _, q = text_or_ordinal(body, q)          # caption: replaced at run time
    points, weight, italic, charset = struct.unpack_from('<HHBB', body, q)
    face, q = text_or_ordinal(body, q + 6)
    print(f"DLG {name} ex={ex:#x} style={style:#010x} {x},{y},{cx},{cy} "
          f"font={points},{weight},{italic},{charset},{face}")
    for _ in range(count):
        q = (q + 3) & ~3
        help_id, ex, style, x, y, cx, cy, ident = struct.unpack_from('<IIIhhhhI', body, q)
        cls, q = text_or_ordinal(body, q + 24)
        text, q = text_or_ordinal(body, q)
        extra = struct.unpack_from('<H', body, q)[0]
        q += 2 + extra
        cls = cls.lower() if isinstance(cls, str) else f"#{cls}"
        print(f"  {ident} {cls} {style:#010x} ex={ex:#x} help={help_id} {x},{y},{cx},{cy} "
              f"extra={extra} text={text!r}")


def main(path):
    data = open(path, 'rb').read()
    offset = 0
    while offset < len(data):
        data_size, header_size = struct.unpack_from('<II', data, offset)
        kind, p = text_or_ordinal(data, offset + 8)
        name, _ = text_or_ordinal(data, p)
        if kind == 5:  # RT_DIALOG
            dump_dialog(name, data[offset + header_size:offset + header_size + data_size])
        offset = (offset + header_size + data_size + 3) & ~3


main(sys.argv[1])
