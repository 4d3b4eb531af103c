"""Prints the constant-table lines of the byte patterns by which the setup
program finds the tables it patches in a layout driver, as the layout
source makes them:

    patterns.py <layout source>

Their texts belong in resources/strings/constant.txt; the driver tests check
the texts found there against the built images."""

import sys

import driver_tables as D
import layout_source as L


def roles(source):
    result = {146: "byte pattern: first of the keypad decimal key's two characters in a layout driver"}
    for variant in source.variants:
        result[147 + variant.index] = "byte pattern: start of a layout driver's scan-code table (%s)" % variant.english
    result[150] = "byte pattern: start of a layout driver's table of E0-prefixed keys"
    result[151] = "byte pattern: start of a layout driver's table of E1-prefixed keys"
    return result


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    source = L.load(argv[1])
    role = roles(source)
    for string_id, pattern in sorted(D.patterns(source).items()):
        print("%d | %s | %s" % (string_id, role[string_id], pattern.hex().upper()))


if __name__ == "__main__":
    main(sys.argv)
