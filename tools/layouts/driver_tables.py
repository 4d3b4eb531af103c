"""The driver's tables for one set and variant of the layout source, in the
order and form the driver holds them, and the byte patterns by which the
setup program finds the tables it patches in a driver image."""

import struct

import layout_source as L

WCH_NONE = 0xF000
WCH_DEAD = 0xF001
VK_DEAD_ROW = 0xFF
NO_VIRTUAL_KEY = 0xFF
SHIFT_INVALID = 0x0F

MODIFIER_KEYS = ((L.VIRTUAL_KEYS["SHIFT"], L.MODIFIER_SHIFT), (L.VIRTUAL_KEYS["CONTROL"], L.MODIFIER_CTRL),
                 (L.VIRTUAL_KEYS["MENU"], L.MODIFIER_ALT))
MAX_MODIFIER_BITS = L.MODIFIER_SHIFT | L.MODIFIER_CTRL | L.MODIFIER_ALT


def modifier_columns():
    """Column of the character rows for each combination of modifier bits;
    combinations that are no shift state have none."""
    columns = [SHIFT_INVALID] * (MAX_MODIFIER_BITS + 1)
    for column, bits in enumerate(L.STATE_MODIFIERS):
        columns[bits] = column
    return columns


KEYPAD_FIRST, KEYPAD_LAST = 0x60, 0x6F
DECIMAL = L.VIRTUAL_KEYS["DECIMAL"]

# Character tables by their number of columns: rows with Ctrl characters,
# rows with base and Shift only, rows with AltGr characters, then the keypad.
# The keypad comes last so that a character the main block types too is
# found on the main block, and its decimal key comes first (the setup program
# finds it by the keys that follow).
TABLE_ORDER = ("ctrl", "plain", "altgr", "keypad")
TABLE_WIDTHS = {"ctrl": 3, "plain": 2, "altgr": 5, "keypad": 2}


def _table_of(row):
    if KEYPAD_FIRST <= row.vk <= KEYPAD_LAST:
        return "keypad"
    used = max([i + 1 for i, c in enumerate(row.chars) if c is not None] + [1])
    if used <= 2:
        return "plain"
    return "ctrl" if used == 3 else "altgr"


def character_tables(source, set_index):
    """[(name, width, rows)]: each row a (virtual key, attributes, cells)
    tuple; a dead key's row is followed by its accent row."""
    tables = {name: [] for name in TABLE_ORDER}
    for row in source.characters(set_index):
        tables[_table_of(row)].append(row)
    keypad = tables["keypad"]
    keypad.sort(key=lambda row: row.vk != DECIMAL)
    if not keypad or keypad[0].vk != DECIMAL:
        raise ValueError("the keypad has no decimal key")
    result = []
    for name in TABLE_ORDER:
        width = TABLE_WIDTHS[name]
        rows = []
        for row in tables[name]:
            chars = row.chars[:width]
            if any(c is not None for c in row.chars[width:]):
                raise ValueError("virtual key 0x%02X has characters beyond the table's columns" % row.vk)
            rows.append((row.vk, row.attributes,
                         [WCH_NONE if c is None else WCH_DEAD if c.dead else c.code for c in chars]))
            if any(c is not None and c.dead for c in chars):
                rows.append((VK_DEAD_ROW, 0, [c.code if c is not None and c.dead else WCH_NONE for c in chars]))
        result.append((name, width, rows))
    return result


def dead_key_entries(source, set_index):
    """[(accent, next character, composed character)] of every dead key."""
    return [(d.accent, after, composed) for d in source.dead_keys(set_index) for after, composed in d.compositions]


def scan_tables(source, variant):
    """The virtual key of every plain scan code below the table's end, and the
    E0 and E1 tables as (scan code byte, virtual key) pairs, terminator left
    out."""
    codes = source.scan_codes(variant)
    plain = [codes.get(scan, NO_VIRTUAL_KEY) for scan in range(L.PLAIN_SCAN_LIMIT)]
    prefixed = {}
    for prefix in (0xE0, 0xE1):
        prefixed[prefix] = [(scan & 0xFF, vk) for scan, vk in sorted(codes.items()) if scan >> 8 == prefix]
    return plain, tuple(prefixed[0xE0]), tuple(prefixed[0xE1])


def key_names(source):
    """Plain and E0 key names as two lists of (scan code byte, name)."""
    plain = [(scan, name) for scan, name in sorted(source.key_names.items()) if scan < 0x100]
    extended = [(scan & 0xFF, name) for scan, name in sorted(source.key_names.items()) if scan >> 8 == 0xE0]
    return plain, extended


def _scan_records(pairs, terminated):
    records = b"".join(struct.pack("<BBH", scan, 0, vk) for scan, vk in pairs)
    return records + (struct.pack("<BBH", 0, 0, 0) if terminated else b"")


# How far each pattern reaches: far enough to be found once in an image (the
# driver tests check that in every image) and, for the scan-code tables, to
# tell the variants apart. The driver keeps its scan-code tables in one block,
# the E1 table before the E0 table, so the E1 pattern goes on into the E0
# table.
MAIN_PATTERN_SCAN_CODES = 0x30
E0_PATTERN_RECORDS = 8
E1_PATTERN_E0_RECORDS = 2
KEYPAD_PATTERN_ROWS = 2


def patterns(source):
    """{string id: bytes}: 146 starts at the keypad decimal key's first
    character (the second is two bytes on); 147 to 149 start at the entry of
    scan code 0 of variants 0 to 2; 150 and 151 start at the first record of
    the E0 and the E1 table. Every image of a variant holds the same bytes
    there, whatever its set and processor."""
    result = {}
    keypads = set()
    for s in source.sets:
        _, _, rows = character_tables(source, s.index)[TABLE_ORDER.index("keypad")]
        decimal, following = rows[0], rows[1:1 + KEYPAD_PATTERN_ROWS]
        keypads.add(struct.pack("<2H", *decimal[2]) + b"".join(
            struct.pack("<BB2H", vk, attributes, *cells) for vk, attributes, cells in following))
    if len(keypads) != 1:
        raise ValueError("the sets differ in their keypads, which one pattern finds in all")
    result[146] = keypads.pop()
    for variant in range(len(source.variants)):
        plain, _, _ = scan_tables(source, variant)
        result[147 + variant] = struct.pack("<%dH" % MAIN_PATTERN_SCAN_CODES, *plain[:MAIN_PATTERN_SCAN_CODES])
    prefixed = {scan_tables(source, variant)[1:] for variant in range(len(source.variants))}
    if len(prefixed) != 1:
        raise ValueError("the variants differ in their E0 or E1 keys, which one pattern finds in all")
    if len({result[147 + variant] for variant in range(len(source.variants))}) != len(source.variants):
        raise ValueError("two variants begin their scan-code tables alike")
    _, e0, e1 = scan_tables(source, 0)
    result[150] = _scan_records(e0[:E0_PATTERN_RECORDS], False)
    result[151] = _scan_records(e1, True) + _scan_records(e0[:E1_PATTERN_E0_RECORDS], False)
    return result
