"""The keyboard charts as the user's guide gets them: charts.py run on the
layout source, its fragment parsed back and its keys read.

    charts_test.py <charts.py> <layout source>
"""

import os
import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser

CHARTS = LAYOUT_SOURCE = None
VOID_TAGS = {"br", "hr", "img", "meta", "link", "input", "wbr", "col", "source"}


class Element:
    def __init__(self, tag, attrs, parent):
        self.tag, self.attrs, self.parent = tag, dict(attrs), parent
        self.children, self.text = [], ""

    def classes(self):
        return set(self.attrs.get("class", "").split())

    def find_all(self, css):
        found = [self] if css in self.classes() else []
        for child in self.children:
            found += child.find_all(css)
        return found

    def all_text(self):
        return self.text + "".join(child.all_text() for child in self.children)


class Tree(HTMLParser):
    def __init__(self):
        super().__init__()
        self.root = self.current = Element("fragment", [], None)
        self.errors = []

    def handle_starttag(self, tag, attrs):
        element = Element(tag, attrs, self.current)
        self.current.children.append(element)
        if tag not in VOID_TAGS:
            self.current = element

    def handle_endtag(self, tag):
        if tag != self.current.tag:
            self.errors.append("</%s> closes <%s>" % (tag, self.current.tag))
            return
        self.current = self.current.parent

    def handle_data(self, data):
        self.current.text += data


def fragment():
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "charts.html")
        subprocess.run([sys.executable, CHARTS, LAYOUT_SOURCE, output], check=True)
        with open(output, encoding="utf-8") as f:
            text = f.read()
    tree = Tree()
    tree.feed(text)
    tree.close()
    return text, tree


def cells(key):
    """A key's characters (base, Shift, AltGr, Shift+AltGr), each with a * when
    dead, or its name."""
    names = key.find_all("kbd-name")
    if names:
        return names[0].all_text()
    out = []
    for css in ("kbd-base", "kbd-shift", "kbd-altgr", "kbd-shift-altgr"):
        cell = key.find_all(css)[0]
        out.append(cell.all_text() + ("*" if "kbd-dead" in cell.classes() else ""))
    return tuple(out)


def chart_keys(chart):
    return [[cells(key) for key in row.find_all("kbd-key")] for row in chart.find_all("kbd-row")]


class ChartFragment(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text, cls.tree = fragment()
        cls.charts = {c.attrs["id"]: c for c in cls.tree.root.find_all("kbd-chart")}

    def test_a_well_formed_fragment_without_a_page_around_it(self):
        self.assertEqual(self.tree.errors, [])
        self.assertIs(self.tree.current, self.tree.root, "every element is closed")
        for tag in ("<html", "<body", "<head", "<style"):
            self.assertNotIn(tag, self.text.lower())

    def test_one_chart_per_variant_with_both_captions(self):
        captions = {name: chart.children[0].all_text() for name, chart in self.charts.items()
                    if name.startswith("kbd-variant")}
        self.assertEqual(captions, {"kbd-variant-0": "QWERTY / QWERTY", "kbd-variant-1": "QWERTZ / QWERTZ",
                                    "kbd-variant-2": "AZERTY / AZERTY"})

    def test_keys_of_each_variant(self):
        # (chart, row, key): base, Shift, AltGr, Shift+AltGr, or the key's name.
        cases = [
            ("kbd-variant-0", 1, 1, ("q", "Q", "", "")),
            ("kbd-variant-0", 1, 6, ("y", "Y", "", "")),
            ("kbd-variant-0", 1, 7, ("u", "U", "€", "")),
            ("kbd-variant-0", 2, 1, ("a", "A", "ą", "Ą")),
            ("kbd-variant-0", 3, 1, ("z", "Z", "ż", "Ż")),
            ("kbd-variant-0", 3, 2, ("x", "X", "ź", "Ź")),
            ("kbd-variant-1", 1, 6, ("z", "Z", "ż", "Ż")),
            ("kbd-variant-1", 3, 1, ("y", "Y", "", "")),
            ("kbd-variant-2", 1, 1, ("a", "A", "ą", "Ą")),
            ("kbd-variant-2", 1, 2, ("z", "Z", "ż", "Ż")),
            ("kbd-variant-2", 2, 1, ("q", "Q", "", "")),
            ("kbd-variant-2", 2, 10, ("m", "M", "", "")),
            ("kbd-variant-2", 3, 1, ("w", "W", "", "")),
            ("kbd-variant-2", 3, 7, (";", ":", "", "")),
            ("kbd-variant-2", 3, 8, (",", "<", "", "")),
            ("kbd-variant-1", 0, 13, "Backspace"),
            ("kbd-variant-1", 4, 4, "AltGr"),
        ]
        for chart, row, key, expected in cases:
            with self.subTest(chart=chart, row=row, key=key):
                self.assertEqual(chart_keys(self.charts[chart])[row][key], expected)

    def test_dead_keys_and_what_the_alternate_set_changes(self):
        for variant in range(3):
            keys = chart_keys(self.charts["kbd-variant-%d" % variant])
            self.assertEqual(keys[2][11], ("'", '"', "´*", ""), "AltGr + apostrophe is a dead acute accent")
            self.assertEqual(keys[0][0], ("`", "~", "", ""), "the standard set's grave key")
            changed = self.charts["kbd-variant-%d" % variant].find_all("kbd-changed")
            self.assertEqual([cells(k) for k in changed], [("`", "~", "", "")])
        alternate = self.tree.root.find_all("kbd-alternate")[0]
        self.assertEqual(chart_keys(self.charts["kbd-set-standard"]), [[("`", "~", "", "")]])
        self.assertEqual(chart_keys(self.charts["kbd-set-alternate"]), [[("~*", "~*", "`", "")]])
        tables = alternate.find_all("kbd-compose")
        self.assertEqual(len(tables), 1, "the alternate set adds the tilde")
        rows = [[cell.all_text() for cell in tr.children] for tr in tables[0].children if tr.tag == "tr"][1:]
        self.assertIn(["a", "ą"], rows)
        self.assertIn(["X", "Ź"], rows)
        self.assertIn(["Space / Spacja", "~"], rows)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    CHARTS, LAYOUT_SOURCE = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
