#!/usr/bin/env python3
"""Writes src/lint/code_page_tables.inc: the upper halves (bytes 0x80 to 0xFF) of the Cyrillic
code pages a draft may have been saved in, Windows-1251, KOI8-R, Mac Cyrillic and CP866, as the
code points they stand for (0 for a byte a code page leaves unassigned).

The mappings are Python's own codecs (cp1251, koi8_r, mac_cyrillic, cp866), which are made from
the code pages' tables that the Unicode Consortium publishes; the lower halves are ASCII in all
four, as the lint core takes them.

Usage: tools/gen_code_pages.py > src/lint/code_page_tables.inc
"""
import codecs

PAGES = [("WINDOWS_1251", "cp1251"), ("KOI8_R", "koi8_r"), ("MAC_CYRILLIC", "mac_cyrillic"), ("CP866", "cp866")]


def upper_half(codec):
    out = []
    for byte in range(0x80, 0x100):
        try:
            out.append(ord(bytes([byte]).decode(codec)))
        except UnicodeDecodeError:
            out.append(0)
    return out


def main():
    print("// Made by tools/gen_code_pages.py from Python's codecs; do not edit.")
    for name, codec in PAGES:
        assert bytes(range(0x80)).decode(codec) == bytes(range(0x80)).decode("ascii")
        values = upper_half(codec)
        print(f"constexpr char16_t {name}[128] = {{")
        for row in range(0, 128, 8):
            print("    " + " ".join(f"0x{v:04X}," for v in values[row:row + 8]))
        print("};")


if __name__ == "__main__":
    main()
