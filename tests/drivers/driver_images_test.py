"""The layout driver images the build made, before they are packed: read by a
third-party PE reader (pefile), their tables followed from KbdLayerDescriptor
through the images' relocations and compared with the layout source, and the
setup program's byte patterns found where it patches. On the host, because
32-bit Windows programs cannot run on every machine that builds.

    driver_images_test.py <image folder> <layout source> <constant table source>
"""

import os
import re
import struct
import sys
import unittest

import pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "layouts"))
import layout_source as L  # noqa: E402

IMAGE_FOLDER = LAYOUT_SOURCE = CONSTANT_TABLE = None

# Per catalogue slot: processor (None for IA-64, whose drivers are not built
# yet) and the Windows release the image declares.
SLOTS = {
    0: ("x86", 5, 0), 1: ("x86", 5, 1), 2: ("x86", 5, 2), 3: (None, 5, 2), 4: ("x64", 5, 2),
    5: ("x86", 6, 0), 6: (None, 6, 0), 7: ("x64", 6, 0), 8: ("x86", 6, 1), 9: (None, 6, 1),
    10: ("x64", 6, 1), 11: ("x86", 6, 2), 12: ("x64", 6, 2),
}
MACHINES = {"x86": 0x14C, "x64": 0x8664}
PE32, PE32_PLUS = 0x10B, 0x20B
SET_KEYS = ("standard", "alternate")

WCH_NONE, WCH_DEAD, VK_DEAD_ROW, SHFT_INVALID = 0xF000, 0xF001, 0xFF, 0x0F


def catalogue():
    """(set, layout, slot, path) of every catalogue entry."""
    for set_index, key in enumerate(SET_KEYS):
        for layout in range(3):
            for slot, (arch, _, _) in SLOTS.items():
                name = "driver_%s_%d_%d.%s" % (key, layout, slot, "dll" if arch else "ia64-placeholder.txt")
                yield set_index, layout, slot, os.path.join(IMAGE_FOLDER, name)


def drivers():
    return [(s, l, slot, path) for s, l, slot, path in catalogue() if SLOTS[slot][0]]


def load_pe(path):
    with open(path, "rb") as f:
        data = f.read()
    # pefile's whole-file statistics (one byte value making up more than half
    # the file) always fire on a layout driver, whose UTF-16 texts and 16-bit
    # codes of ASCII characters are mostly zero bytes: they judge no
    # structure. Every structure is then read with full_load.
    pe = pefile.PE(data=data, fast_load=True)
    pe.full_load()
    return pe, data


class DriverImage:
    """Reads a driver's tables by following its pointers. Every pointer read
    must be one the image's relocations fix up; the image's relocations must
    be exactly those pointers."""

    def __init__(self, pe, data):
        self.pe, self.data = pe, data
        self.wide = pe.OPTIONAL_HEADER.Magic == PE32_PLUS
        self.size = 8 if self.wide else 4
        self.base = pe.OPTIONAL_HEADER.ImageBase
        reloc_type = pefile.RELOCATION_TYPE["IMAGE_REL_BASED_DIR64" if self.wide else "IMAGE_REL_BASED_HIGHLOW"]
        self.relocations = set()
        for block in pe.DIRECTORY_ENTRY_BASERELOC:
            for entry in block.entries:
                if entry.type == reloc_type:
                    self.relocations.add(entry.rva)
                elif entry.type != pefile.RELOCATION_TYPE["IMAGE_REL_BASED_ABSOLUTE"]:
                    raise AssertionError("relocation of type %d at 0x%X" % (entry.type, entry.rva))
        self.followed = set()

    def u8(self, rva):
        return self.pe.get_data(rva, 1)[0]

    def u16(self, rva):
        return struct.unpack("<H", self.pe.get_data(rva, 2))[0]

    def u32(self, rva):
        return struct.unpack("<I", self.pe.get_data(rva, 4))[0]

    def pointer(self, rva):
        """The RVA a pointer field points to, or None for a null pointer."""
        value = struct.unpack("<Q" if self.wide else "<I", self.pe.get_data(rva, self.size))[0]
        if value == 0:
            if rva in self.relocations:
                raise AssertionError("null pointer at 0x%X is relocated" % rva)
            return None
        if rva not in self.relocations:
            raise AssertionError("pointer at 0x%X is not relocated" % rva)
        self.followed.add(rva)
        return value - self.base

    def text(self, rva):
        chars = []
        while self.u16(rva + 2 * len(chars)) != 0:
            chars.append(chr(self.u16(rva + 2 * len(chars))))
        return "".join(chars)

    def descriptor(self):
        """The tables KbdLayerDescriptor returns, from its code."""
        exports = {e.name: e.address for e in self.pe.DIRECTORY_ENTRY_EXPORT.symbols}
        code = exports[b"KbdLayerDescriptor"]
        body = self.pe.get_data(code, 8)
        if self.wide:
            if body[:3] != b"\x48\x8d\x05" or body[7] != 0xC3:
                raise AssertionError("KbdLayerDescriptor is not lea rax, [rip + tables]; ret")
            return code + 7 + struct.unpack("<i", body[3:7])[0]
        if body[0] != 0xB8 or body[5] != 0xC3:
            raise AssertionError("KbdLayerDescriptor is not mov eax, tables; ret")
        return self.pointer(code + 1)

    def scan_records(self, rva):
        records = []
        while self.u8(rva + 4 * len(records)) != 0:
            at = rva + 4 * len(records)
            records.append((self.u8(at), self.u16(at + 2)))
        return records, rva

    def names(self, rva, prefix):
        names = {}
        while rva is not None and self.u8(rva) != 0:
            names[prefix | self.u8(rva)] = self.text(self.pointer(rva + self.size))
            rva += 2 * self.size
        return names

    def read(self):
        """The tables as plain data, with where the patched ones lie."""
        p = self.size
        tables = self.descriptor()
        field = {name: tables + i * p for i, name in enumerate(
            ("modifiers", "characters", "dead", "names", "names_ext", "names_dead", "plain", "max_plain",
             "e0", "e1"))}
        out = {}
        modifiers = self.pointer(field["modifiers"])
        keys, at = {}, self.pointer(modifiers)
        while self.u8(at) != 0:
            keys[self.u8(at)] = self.u8(at + 1)
            at += 2
        out["modifier_keys"] = keys
        out["columns"] = [self.u8(modifiers + p + 2 + bits) for bits in range(self.u16(modifiers + p) + 1)]

        rows, out["row_count"], decimal = {}, 0, None
        table = self.pointer(field["characters"])
        while True:
            at = self.pointer(table)
            if at is None:
                break
            width, row_size = self.u8(table + p), self.u8(table + p + 1)
            last = None
            while self.u8(at) != 0:
                vk, cells = self.u8(at), [self.u16(at + 2 + 2 * i) for i in range(width)]
                if vk == VK_DEAD_ROW and last is not None:
                    last["dead"] = cells
                else:
                    # The system takes the first row of a virtual key.
                    out["row_count"] += 1
                    last = None
                    if vk not in rows:
                        last = rows[vk] = {"attributes": self.u8(at + 1), "cells": cells, "dead": None}
                        if vk == L.VIRTUAL_KEYS["DECIMAL"]:
                            decimal = at + 2
                at += row_size
            table += 2 * p
        out["rows"], out["decimal"] = rows, decimal

        compositions, at = [], self.pointer(field["dead"])
        while self.u32(at) != 0:
            both = self.u32(at)
            compositions.append((both >> 16, both & 0xFFFF, self.u16(at + 4), self.u16(at + 6)))
            at += 8
        out["compositions"] = sorted(compositions)

        out["plain_at"] = self.pointer(field["plain"])
        out["plain"] = [self.u16(out["plain_at"] + 2 * i) for i in range(self.u8(field["max_plain"]))]
        out["e0"], out["e0_at"] = self.scan_records(self.pointer(field["e0"]))
        out["e1"], out["e1_at"] = self.scan_records(self.pointer(field["e1"]))
        out["names"] = self.names(self.pointer(field["names"]), 0)
        out["names"].update(self.names(self.pointer(field["names_ext"]), 0xE000))
        dead_names, at = [], self.pointer(field["names_dead"])
        while True:
            name = self.pointer(at)
            if name is None:
                break
            dead_names.append(self.text(name))
            at += p
        out["dead_names"] = dead_names
        flags_at = tables + 10 * p
        ligatures_at = (flags_at + 6 + p - 1) // p * p
        out["locale_flags"] = self.u32(flags_at)
        out["ligatures"] = (self.u8(flags_at + 4), self.u8(flags_at + 5), self.pointer(ligatures_at))
        out["type"] = self.u32(ligatures_at + p)
        return out

    def character(self, tables, vk, modifiers):
        row = tables["rows"].get(vk)
        column = tables["columns"][modifiers]
        if row is None or column == SHFT_INVALID or column >= len(row["cells"]):
            return 0, False
        cell = row["cells"][column]
        if cell == WCH_DEAD:
            return row["dead"][column], True
        return (0 if cell == WCH_NONE else cell), False

    def file_offset(self, rva):
        return self.pe.get_offset_from_rva(rva)


def constant_patterns():
    patterns = {}
    with open(CONSTANT_TABLE, encoding="utf-8") as f:
        for line in f:
            match = re.match(r"(\d+)( w)? \| [^|]* \| ([0-9A-F]*)$", line.rstrip("\n"))
            if match and 146 <= int(match.group(1)) <= 151:
                patterns[int(match.group(1))] = bytes.fromhex(match.group(3))
    return patterns


class ImagesAsAPeReaderSeesThem(unittest.TestCase):
    def test_every_slot_has_its_image(self):
        for set_index, layout, slot, path in catalogue():
            with self.subTest(path=os.path.basename(path)):
                self.assertTrue(os.path.isfile(path))
                if SLOTS[slot][0] is None:
                    with open(path, encoding="utf-8") as f:
                        self.assertIn("IA-64", f.read())

    def test_headers_exports_relocations_and_resources(self):
        source = L.load(LAYOUT_SOURCE)
        sizes = {}
        for set_index, layout, slot, path in drivers():
            arch, major, minor = SLOTS[slot]
            with self.subTest(path=os.path.basename(path)):
                pe, data = load_pe(path)
                self.assertEqual(pe.get_warnings(), [])
                self.assertEqual(pe.FILE_HEADER.Machine, MACHINES[arch])
                self.assertTrue(pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"])
                self.assertEqual(pe.OPTIONAL_HEADER.Magic, PE32 if arch == "x86" else PE32_PLUS)
                header = pe.OPTIONAL_HEADER
                self.assertEqual((header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion),
                                 (major, minor))
                self.assertEqual((header.MajorSubsystemVersion, header.MinorSubsystemVersion), (major, minor))
                exports = pe.DIRECTORY_ENTRY_EXPORT
                self.assertEqual(exports.name.decode(), source.product["file"])
                self.assertEqual([e.name for e in exports.symbols], [b"KbdLayerDescriptor"])
                self.assertEqual(getattr(pe, "DIRECTORY_ENTRY_IMPORT", []), [], "a driver imports nothing")
                self.assertGreater(sum(len(b.entries) for b in pe.DIRECTORY_ENTRY_BASERELOC), 0)
                resource_types = {entry.id for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}
                self.assertEqual(resource_types, {pefile.RESOURCE_TYPE["RT_STRING"],
                                                  pefile.RESOURCE_TYPE["RT_VERSION"]})
                sizes.setdefault(arch, set()).add(len(data))
        print("image sizes:", ", ".join("%s %s bytes" % (arch, "/".join(map(str, sorted(s))))
                                        for arch, s in sorted(sizes.items())))


class TablesFollowedThroughRelocations(unittest.TestCase):
    def test_tables_hold_the_layout_source(self):
        source = L.load(LAYOUT_SOURCE)
        for set_index, layout, slot, path in drivers():
            with self.subTest(path=os.path.basename(path)):
                image = DriverImage(*load_pe(path))
                tables = image.read()
                self.assertEqual(image.followed, image.relocations,
                                 "the relocations are the pointers of the tables and nothing else")
                self.assertEqual(tables["modifier_keys"], {0x10: 1, 0x11: 2, 0x12: 4})
                self.assertEqual(tables["locale_flags"], 1 << 16 | 0x0001, "version 1, AltGr")
                self.assertEqual(tables["ligatures"], (0, 0, None))
                self.assertEqual(tables["type"], 4, "an enhanced 101/102-key keyboard")

                rows = source.characters(set_index)
                self.assertEqual(tables["row_count"], len(rows))
                for row in rows:
                    self.assertIn(row.vk, tables["rows"])
                    self.assertEqual(tables["rows"][row.vk]["attributes"], row.attributes, hex(row.vk))
                    for state, char in enumerate(row.chars):
                        expected = (char.code, char.dead) if char else (0, False)
                        self.assertEqual(image.character(tables, row.vk, L.STATE_MODIFIERS[state]), expected,
                                         "virtual key 0x%02X, %s" % (row.vk, L.SHIFT_STATES[state]))
                compositions = sorted((d.accent, after, composed, 0) for d in source.dead_keys(set_index)
                                      for after, composed in d.compositions)
                self.assertEqual(tables["compositions"], compositions)

                codes = source.scan_codes(layout)
                self.assertEqual(tables["plain"], [codes.get(s, 0xFF) for s in range(L.PLAIN_SCAN_LIMIT)])
                for prefix, name in ((0xE0, "e0"), (0xE1, "e1")):
                    self.assertEqual(tables[name], [(s & 0xFF, vk) for s, vk in sorted(codes.items())
                                                    if s >> 8 == prefix])
                self.assertEqual(tables["names"], source.key_names)
                self.assertEqual(tables["dead_names"], [chr(d.accent) + d.name for d in source.dead_keys(set_index)])


class PatternsOfTheConstantTable(unittest.TestCase):
    def test_each_pattern_is_found_once_where_the_setup_patches(self):
        patterns = constant_patterns()
        self.assertEqual(sorted(patterns), list(range(146, 152)))
        for set_index, layout, slot, path in drivers():
            with self.subTest(path=os.path.basename(path)):
                image = DriverImage(*load_pe(path))
                tables = image.read()
                data = image.data
                places = {146: tables["decimal"], 147 + layout: tables["plain_at"], 150: tables["e0_at"],
                          151: tables["e1_at"]}
                for string_id, rva in places.items():
                    at = data.find(patterns[string_id])
                    self.assertEqual(at, image.file_offset(rva), "pattern %d" % string_id)
                    self.assertEqual(data.find(patterns[string_id], at + 1), -1, "pattern %d twice" % string_id)
                for other in set(range(3)) - {layout}:
                    self.assertEqual(data.find(patterns[147 + other]), -1, "pattern of layout %d" % other)
                decimal = image.file_offset(tables["decimal"])
                self.assertEqual(data[decimal:decimal + 4], ".\0.\0".encode())
                self.assertGreaterEqual(len(tables["plain"]), 0x7F, "the table reaches scan code 0x7E")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    IMAGE_FOLDER, LAYOUT_SOURCE, CONSTANT_TABLE = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
