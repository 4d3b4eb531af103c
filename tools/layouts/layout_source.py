"""Reads the layout source (resources/layouts/*.layout): the one description
of the keyboard layout that the driver images, the charts and the expected
tables of the driver tests are all made from. The file's own header
describes the format."""

import re
from dataclasses import dataclass, field

# The shift states a key's characters are given for, in the order of a
# character row and of the driver's character columns.
SHIFT_STATES = ("base", "Shift", "Ctrl", "AltGr", "Shift+AltGr")
BASE, SHIFT, CTRL, ALTGR, SHIFT_ALTGR = range(len(SHIFT_STATES))

# Modifier bits of the driver format, and the bits each shift state holds
# (AltGr is Right Alt, which the system sends as Ctrl+Alt).
MODIFIER_SHIFT, MODIFIER_CTRL, MODIFIER_ALT = 0x1, 0x2, 0x4
STATE_MODIFIERS = (0, MODIFIER_SHIFT, MODIFIER_CTRL, MODIFIER_CTRL | MODIFIER_ALT,
                   MODIFIER_SHIFT | MODIFIER_CTRL | MODIFIER_ALT)

# Attribute bits of a character row.
CAPS_LOCK = 0x01
CAPS_LOCK_ALTGR = 0x04
CAPS_WORDS = {"-": 0, "caps": CAPS_LOCK, "caps+altgr": CAPS_LOCK | CAPS_LOCK_ALTGR}

# Flag bits a scan code's virtual key carries in the driver.
SCAN_FLAGS = {"ext": 0x100, "multi": 0x200, "special": 0x400, "numpad": 0x800}

# The platform's virtual-key codes by their documented names (VK_ left out).
VIRTUAL_KEYS = {
    "CANCEL": 0x03, "BACK": 0x08, "TAB": 0x09, "CLEAR": 0x0C, "RETURN": 0x0D,
    "SHIFT": 0x10, "CONTROL": 0x11, "MENU": 0x12, "PAUSE": 0x13, "CAPITAL": 0x14,
    "ESCAPE": 0x1B, "SPACE": 0x20, "PRIOR": 0x21, "NEXT": 0x22, "END": 0x23,
    "HOME": 0x24, "LEFT": 0x25, "UP": 0x26, "RIGHT": 0x27, "DOWN": 0x28,
    "SNAPSHOT": 0x2C, "INSERT": 0x2D, "DELETE": 0x2E, "HELP": 0x2F,
    "LWIN": 0x5B, "RWIN": 0x5C, "APPS": 0x5D, "SLEEP": 0x5F,
    "MULTIPLY": 0x6A, "ADD": 0x6B, "SEPARATOR": 0x6C, "SUBTRACT": 0x6D,
    "DECIMAL": 0x6E, "DIVIDE": 0x6F, "NUMLOCK": 0x90, "SCROLL": 0x91,
    "LSHIFT": 0xA0, "RSHIFT": 0xA1, "LCONTROL": 0xA2, "RCONTROL": 0xA3,
    "LMENU": 0xA4, "RMENU": 0xA5,
    "BROWSER_BACK": 0xA6, "BROWSER_FORWARD": 0xA7, "BROWSER_REFRESH": 0xA8,
    "BROWSER_STOP": 0xA9, "BROWSER_SEARCH": 0xAA, "BROWSER_FAVORITES": 0xAB,
    "BROWSER_HOME": 0xAC, "VOLUME_MUTE": 0xAD, "VOLUME_DOWN": 0xAE,
    "VOLUME_UP": 0xAF, "MEDIA_NEXT_TRACK": 0xB0, "MEDIA_PREV_TRACK": 0xB1,
    "MEDIA_STOP": 0xB2, "MEDIA_PLAY_PAUSE": 0xB3, "LAUNCH_MAIL": 0xB4,
    "LAUNCH_MEDIA_SELECT": 0xB5, "LAUNCH_APP1": 0xB6, "LAUNCH_APP2": 0xB7,
    "OEM_1": 0xBA, "OEM_PLUS": 0xBB, "OEM_COMMA": 0xBC, "OEM_MINUS": 0xBD,
    "OEM_PERIOD": 0xBE, "OEM_2": 0xBF, "OEM_3": 0xC0, "ABNT_C1": 0xC1,
    "ABNT_C2": 0xC2, "OEM_4": 0xDB, "OEM_5": 0xDC, "OEM_6": 0xDD, "OEM_7": 0xDE,
    "OEM_102": 0xE2, "OEM_PA1": 0xEB,
}
VIRTUAL_KEYS.update({chr(c): c for c in range(ord("0"), ord("9") + 1)})
VIRTUAL_KEYS.update({chr(c): c for c in range(ord("A"), ord("Z") + 1)})
VIRTUAL_KEYS.update({"NUMPAD%d" % n: 0x60 + n for n in range(10)})
VIRTUAL_KEYS.update({"F%d" % n: 0x6F + n for n in range(1, 25)})

# Scan codes without a prefix that the driver's table indexes: 0 to 0x7E.
PLAIN_SCAN_LIMIT = 0x7F


class LayoutError(Exception):
    def __init__(self, path, line, message):
        super().__init__("%s:%d: %s" % (path, line, message))


@dataclass(frozen=True)
class Char:
    """One character a key types; a dead key types nothing by itself and
    changes the next character."""
    code: int
    dead: bool = False


@dataclass
class KeyCharacters:
    vk: int
    attributes: int
    # One entry per shift state: a Char, or None for no character.
    chars: tuple


@dataclass
class DeadKey:
    accent: int
    name: str
    # (next character, composed character) in the order of the source.
    compositions: list = field(default_factory=list)


@dataclass
class DriverSet:
    index: int
    key: str
    english: str
    polish: str


@dataclass
class Variant:
    index: int
    english: str
    polish: str


@dataclass
class ChartKey:
    scan: int
    width: float
    label: str


class LayoutSource:
    def __init__(self):
        self.product = {}
        self.sets = []
        self.variants = []
        self.key_names = {}
        self.chart_rows = []
        self._scan_codes = {}
        self._variant_scan_codes = {}
        self._characters = {}
        self._set_characters = {}
        self._dead_keys = {}

    def scan_codes(self, variant):
        """Scan code (E0 and E1 keys with the prefix in the high byte) to
        virtual key with its flag bits, for a variant."""
        codes = dict(self._scan_codes)
        codes.update(self._variant_scan_codes.get(variant, {}))
        return codes

    def characters(self, set_index):
        """The character rows of a driver set, in source order."""
        rows = dict(self._characters)
        rows.update(self._set_characters.get(self.sets[set_index].key, {}))
        return list(rows.values())

    def dead_keys(self, set_index):
        """The dead keys a driver set's characters use, in source order."""
        used = {c.code for row in self.characters(set_index) for c in row.chars if c is not None and c.dead}
        return [d for accent, d in self._dead_keys.items() if accent in used]


def _char(token, where):
    if token == "-":
        return None
    dead = token.startswith("dead:")
    if dead:
        token = token[len("dead:"):]
    if re.fullmatch(r"U\+[0-9A-F]{4,6}", token):
        code = int(token[2:], 16)
    elif len(token) == 1:
        code = ord(token)
    else:
        where("not one character: %r" % token)
    return Char(code, dead)


def _scan(token, where):
    if not re.fullmatch(r"[0-9A-F]{2}|E[01][0-9A-F]{2}", token):
        where("not a scan code: %r" % token)
    code = int(token, 16)
    if code < 0x100 and code >= PLAIN_SCAN_LIMIT:
        where("scan code %s is beyond the driver's table" % token)
    return code


def _virtual_key(token, where):
    if re.fullmatch(r"0x[0-9A-F]{2}", token):
        return int(token, 16)
    if token not in VIRTUAL_KEYS:
        where("unknown virtual key %r" % token)
    return VIRTUAL_KEYS[token]


def _scan_row(words, where):
    if len(words) < 2:
        where("a scan code and a virtual key expected")
    vk = _virtual_key(words[1], where)
    for flag in words[2:]:
        if flag not in SCAN_FLAGS:
            where("unknown flag %r" % flag)
        vk |= SCAN_FLAGS[flag]
    return _scan(words[0], where), vk


def _character_row(words, where):
    if len(words) < 3 or len(words) > 2 + len(SHIFT_STATES):
        where("a virtual key, a Caps Lock word and 1 to %d characters expected" % len(SHIFT_STATES))
    if words[1] not in CAPS_WORDS:
        where("unknown Caps Lock word %r" % words[1])
    chars = [_char(t, where) for t in words[2:]]
    chars += [None] * (len(SHIFT_STATES) - len(chars))
    return KeyCharacters(_virtual_key(words[0], where), CAPS_WORDS[words[1]], tuple(chars))


def _chart_key(token, where):
    parts = token.split(":", 2)
    width = 1.0
    if len(parts) > 1:
        try:
            width = float(parts[1])
        except ValueError:
            where("not a key width: %r" % parts[1])
    return ChartKey(_scan(parts[0], where), width, parts[2] if len(parts) > 2 else "")


def _fields(line, count, where):
    fields = [f.strip() for f in line.split("|")]
    if len(fields) != count:
        where("%d fields separated by | expected" % count)
    return fields


def load(path):
    source = LayoutSource()
    kind, argument, dead = None, None, None
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for number, raw in enumerate(lines, 1):
        def where(message, number=number):
            raise LayoutError(path, number, message)
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            if not line.endswith("]"):
                where("a section line ends with ]")
            words = line[1:-1].split()
            kind, argument = " ".join(words), None
            if words and words[0] in ("dead", "variant", "characters") and len(words) > 1:
                kind, argument = words[0], words[1:]
            if kind == "dead":
                if len(argument) != 2:
                    where("[dead ACCENT NAME] expected")
                accent = _char(argument[0], where)
                dead = source._dead_keys.setdefault(accent.code, DeadKey(accent.code, argument[1]))
            elif kind == "variant" and (len(argument) != 1 or not argument[0].isdigit()):
                where("[variant N] expected")
            elif kind == "characters" and argument is not None and len(argument) != 1:
                where("[characters SET] expected")
            continue
        words = line.split()
        if kind == "product":
            key, eq, value = line.partition("=")
            if not eq:
                where("name = value expected")
            source.product[key.strip()] = value.strip()
        elif kind == "sets":
            index, key, english, polish = _fields(line, 4, where)
            source.sets.append(DriverSet(int(index), key, english, polish))
        elif kind == "variants":
            index, english, polish = _fields(line, 3, where)
            source.variants.append(Variant(int(index), english, polish))
        elif kind == "scan codes":
            scan, vk = _scan_row(words, where)
            source._scan_codes[scan] = vk
        elif kind == "variant":
            scan, vk = _scan_row(words, where)
            source._variant_scan_codes.setdefault(int(argument[0]), {})[scan] = vk
        elif kind == "characters":
            row = _character_row(words, where)
            if argument is None:
                source._characters[row.vk] = row
            else:
                source._set_characters.setdefault(argument[0], {})[row.vk] = row
        elif kind == "dead":
            if len(words) != 2:
                where("a next character and a composed character expected")
            next_char, composed = (_char(t, where) for t in words)
            if next_char is None or composed is None or next_char.dead or composed.dead:
                where("two plain characters expected")
            dead.compositions.append((next_char.code, composed.code))
        elif kind == "key names":
            scan, _, key_name = line.partition(" ")
            source.key_names[_scan(scan, where)] = key_name.strip()
        elif kind == "chart":
            if words[0] != "row":
                where("row expected")
            source.chart_rows.append([_chart_key(t, where) for t in words[1:]])
        else:
            where("line outside a known section")
    _check(source, path)
    return source


def _check(source, path):
    def fail(message):
        raise LayoutError(path, 0, message)
    for name in ("name", "maker", "file", "version", "display name id"):
        if name not in source.product:
            fail("[product] has no %s" % name)
    if [s.index for s in source.sets] != [0, 1]:
        fail("sets 0 and 1 expected")
    if [v.index for v in source.variants] != list(range(len(source.variants))) or not source.variants:
        fail("variants numbered from 0 expected")
    for variant in source._variant_scan_codes:
        if variant >= len(source.variants):
            fail("[variant %d] names no variant" % variant)
    for key in source._set_characters:
        if key not in [s.key for s in source.sets]:
            fail("[characters %s] names no set" % key)
    for s in source.sets:
        for row in source.characters(s.index):
            for c in row.chars:
                if c is not None and c.dead and c.code not in source._dead_keys:
                    fail("dead key U+%04X has no [dead] section" % c.code)
