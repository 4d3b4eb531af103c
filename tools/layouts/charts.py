"""Writes the keyboard charts of the layout source as an HTML fragment for the
user's guide (no <html> or <body>; the guide's stylesheet styles it):

    charts.py <layout source> <output.html>

One chart per layout variant, in the standard set: each key shows its base
and Shift characters on the left and its AltGr and Shift+AltGr characters on
the right, dead keys marked, keys that type no character by their names. The
keys the alternate set changes are marked, and a section of their own shows
them in both sets with the letters their dead keys make. Texts are English
and Polish side by side.

Class names: kbd-charts (the whole fragment), kbd-legend, kbd-chart (one
per variant, its caption in kbd-caption), kbd-row, kbd-key (a wider key
carries its width inline), kbd-base, kbd-shift, kbd-altgr, kbd-shift-altgr
(a key's characters), kbd-dead (a dead key's character), kbd-name (a key
shown by its name), kbd-changed (a key the alternate set changes),
kbd-alternate (the alternate set's section) and kbd-compose (a table of
dead-key compositions)."""

import html
import sys

import layout_source as L

# Where a key shows each shift state's character, in the order written.
CELLS = ((L.SHIFT, "kbd-shift"), (L.SHIFT_ALTGR, "kbd-shift-altgr"), (L.BASE, "kbd-base"), (L.ALTGR, "kbd-altgr"))
STATE_LABELS = {L.BASE: "", L.SHIFT: "Shift", L.CTRL: "Ctrl", L.ALTGR: "AltGr", L.SHIFT_ALTGR: "Shift+AltGr"}

TEXTS = {
    "legend": ("Each key shows its Shift character above its base character, and on its right its "
               "Shift+AltGr character above its AltGr character. AltGr is the right Alt key (or Ctrl+Alt). "
               "A dead key types nothing by itself: it changes the next letter.",
               "Każdy klawisz pokazuje znak z Shift nad znakiem podstawowym, a po prawej znak z Shift+AltGr "
               "nad znakiem z AltGr. AltGr to prawy Alt (lub Ctrl+Alt). Klawisz martwy sam nic nie pisze: "
               "zmienia następną literę."),
    "changed": ("Marked keys work differently in the alternate set.",
                "Zaznaczone klawisze działają inaczej w zestawie alternatywnym."),
    "dead keys": ("Dead keys", "Klawisze martwe"),
    "alternate": ("For keyboards where AltGr is awkward, the alternate set changes these keys; the charts "
                  "above show the standard set.",
                  "Dla klawiatur, na których AltGr jest niewygodny, zestaw alternatywny zmienia te klawisze; "
                  "schematy powyżej pokazują zestaw standardowy."),
    "dead key": ("dead key", "klawisz martwy"),
    "then": ("then", "potem"),
    "gives": ("gives", "daje"),
}


def both(key):
    english, polish = TEXTS[key]
    return "%s / %s" % (english, polish)


def _printable(char):
    return char is not None and (char.dead or (char.code > 0x20 and char.code != 0x7F))


def _cell(char, css):
    if not _printable(char):
        return '<span class="%s"></span>' % css
    if char.dead:
        return '<span class="%s kbd-dead" title="%s">%s</span>' % (css, html.escape(both("dead key")), html.escape(chr(char.code)))
    return '<span class="%s">%s</span>' % (css, html.escape(chr(char.code)))


def _key(source, rows_by_vk, chart_key, variant, changed):
    vk = source.scan_codes(variant).get(chart_key.scan, 0xFF) & 0xFF
    row = rows_by_vk.get(vk)
    classes = "kbd-key" + (" kbd-changed" if vk in changed else "")
    # Key units as em: the stylesheet makes a key 2.4em wide with 0.2em between
    # keys; an inline width is the one way every browser down to the oldest
    # sizes a wider key.
    width = ('' if chart_key.width == 1 else ' style="width: %.1fem"' % (chart_key.width * 2.6 - 0.2))
    if row is not None and any(_printable(row.chars[state]) for state, _ in CELLS):
        cells = "".join(_cell(row.chars[state], css) for state, css in CELLS)
    else:
        label = chart_key.label or source.key_names.get(chart_key.scan, "")
        cells = '<span class="kbd-name">%s</span>' % html.escape(label)
    return '<div class="%s"%s>%s</div>' % (classes, width, cells)


def _chart(source, set_index, variant, changed, chart_id, caption, scans=None):
    rows_by_vk = {row.vk: row for row in source.characters(set_index)}
    # Plain divisions, not figure elements: the browsers of Windows 2000 and
    # XP know no HTML5 elements.
    out = ['<div class="kbd-chart" id="%s">' % chart_id, '<p class="kbd-caption">%s</p>' % html.escape(caption)]
    for chart_row in source.chart_rows:
        keys = [k for k in chart_row if scans is None or k.scan in scans]
        if keys:
            out.append('<div class="kbd-row">%s</div>'
                       % "".join(_key(source, rows_by_vk, k, variant, changed) for k in keys))
    out.append("</div>")
    return out


def _changed_keys(source):
    standard = {row.vk: row for row in source.characters(0)}
    alternate = {row.vk: row for row in source.characters(1)}
    return {vk for vk in set(standard) | set(alternate) if standard.get(vk) != alternate.get(vk)}


def _where_typed(source, set_index, accent):
    """How a dead key is reached: shift states and the key, named by its
    base character in the standard set."""
    standard = {row.vk: row for row in source.characters(0)}
    places = []
    for row in source.characters(set_index):
        for state, char in enumerate(row.chars):
            if char is not None and char.dead and char.code == accent:
                base = standard[row.vk].chars[L.BASE]
                key = "<kbd>%s</kbd>" % html.escape(chr(base.code) if base else "?")
                places.append("<kbd>%s</kbd>+%s" % (STATE_LABELS[state], key) if STATE_LABELS[state] else key)
    return ", ".join(places)


def _compositions(source, set_index, dead_keys):
    out = []
    for dead in dead_keys:
        out.append('<table class="kbd-compose">')
        out.append("<caption>%s %s: %s</caption>" % (html.escape(chr(dead.accent)), html.escape(both("dead key")),
                                                     _where_typed(source, set_index, dead.accent)))
        out.append("<tr><th>%s</th><th>%s</th></tr>" % (html.escape(both("then")), html.escape(both("gives"))))
        for after, composed in dead.compositions:
            shown_after = "<kbd>%s</kbd>" % ("Space / Spacja" if after == 0x20 else html.escape(chr(after)))
            out.append("<tr><td>%s</td><td>%s</td></tr>" % (shown_after, html.escape(chr(composed))))
        out.append("</table>")
    return out


def fragment(source):
    changed = _changed_keys(source)
    standard, alternate = source.sets[0], source.sets[1]
    out = ["<!-- Keyboard charts of %s, made by tools/layouts/charts.py from the layout source. -->"
           % html.escape(source.product["name"]),
           '<div class="kbd-charts">',
           '<p class="kbd-legend">%s</p>' % html.escape(TEXTS["legend"][0]),
           '<p class="kbd-legend" lang="pl">%s</p>' % html.escape(TEXTS["legend"][1])]
    for variant in source.variants:
        caption = "%s / %s" % (variant.english, variant.polish)
        out += _chart(source, 0, variant.index, changed, "kbd-variant-%d" % variant.index, caption)
    out.append('<p class="kbd-legend">%s</p>' % html.escape(both("changed")))

    out.append("<h3>%s</h3>" % html.escape(both("dead keys")))
    out += _compositions(source, 0, source.dead_keys(0))

    out.append('<div class="kbd-alternate">')
    out.append("<h3>%s / %s</h3>" % (html.escape(alternate.english), html.escape(alternate.polish)))
    out.append("<p>%s</p>" % html.escape(TEXTS["alternate"][0]))
    out.append('<p lang="pl">%s</p>' % html.escape(TEXTS["alternate"][1]))
    scans = {scan for scan, vk in source.scan_codes(0).items() if vk & 0xFF in changed}
    for s in (standard, alternate):
        out += _chart(source, s.index, 0, set(), "kbd-set-%s" % s.key, "%s / %s" % (s.english, s.polish), scans)
    standard_accents = {d.accent for d in source.dead_keys(0)}
    out += _compositions(source, 1, [d for d in source.dead_keys(1) if d.accent not in standard_accents])
    out.append("</div>")
    out.append("</div>")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    source = L.load(argv[1])
    with open(argv[2], "w", encoding="utf-8", newline="\n") as f:
        f.write(fragment(source))


if __name__ == "__main__":
    main(sys.argv)
