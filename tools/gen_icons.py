#!/usr/bin/env python3
"""Draws the wizard's two icons and writes them as .ico files.

    gen_icons.py <letter key.ico> <leaf key.ico>

The first is the program's icon: a key cap carrying the letter "Ą", the
one letter every Polish layout must reach. The second is drawn in the
wizard's header: a willow leaf (Polish "wierzba", the product's name) on a
key cap. Each file holds 16, 32 and 48 pixel images, 32 bits with straight
alpha; the 1-bit mask is filled in too, for systems that ignore the alpha.

Every shape is drawn from its own geometry, scaled to the image size and
snapped to whole pixels where an edge should stay sharp; each pixel is the
average of a grid of samples, so edges are smoothed without a drawing
library. Only the standard library is used, and the output depends on
nothing but this file.
"""
import math
import struct
import sys

SIZES = (16, 32, 48)


def hex_colour(text, alpha=255):
    value = int(text.lstrip("#"), 16)
    return (value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF, alpha)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(4))


def vertical_gradient(top_colour, bottom_colour, top, bottom):
    a, b = hex_colour(top_colour), hex_colour(bottom_colour)
    return lambda x, y: mix(a, b, (y - top) / (bottom - top))


def flat(colour):
    c = hex_colour(colour)
    return lambda x, y: c


# Shapes: functions of a sample point (x, y) in pixels that say whether the
# point is inside.

def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if x < left or x > right or y < top or y > bottom:
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def stroke(points, widths):
    """A polyline with a width at each point and round joins and ends."""
    segments = list(zip(points, points[1:], widths, widths[1:]))

    def inside(x, y):
        for (ax, ay), (bx, by), wa, wb in segments:
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else min(max(((x - ax) * dx + (y - ay) * dy) / length2, 0.0), 1.0)
            px, py = ax + t * dx, ay + t * dy
            half = (wa + (wb - wa) * t) / 2
            if (x - px) ** 2 + (y - py) ** 2 <= half * half:
                return True
        return False
    return inside


def bezier(p0, p1, p2, p3, steps):
    points = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        points.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                       u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return points


def leaf(base, tip, half_width, bend):
    """A willow leaf from base to tip: long and narrow, widest a little
    below the middle, its axis bowed sideways by `bend` pixels."""
    (bx, by), (tx, ty) = base, tip
    length = math.hypot(tx - bx, ty - by)
    ux, uy = (tx - bx) / length, (ty - by) / length

    def inside(x, y):
        s = ((x - bx) * ux + (y - by) * uy) / length
        if s <= 0 or s >= 1:
            return False
        across = -(x - bx) * uy + (y - by) * ux - bend * math.sin(math.pi * s)
        return abs(across) <= half_width * math.sin(math.pi * s ** 0.8) ** 0.9
    return inside


def leaf_midrib(base, tip, bend, width):
    (bx, by), (tx, ty) = base, tip
    length = math.hypot(tx - bx, ty - by)
    ux, uy = (tx - bx) / length, (ty - by) / length
    points = []
    for i in range(13):
        s = 0.05 + 0.8 * i / 12
        offset = bend * math.sin(math.pi * s)
        points.append((bx + ux * s * length - uy * offset, by + uy * s * length + ux * offset))
    return stroke(points, [width * (1 - 0.6 * i / 12) for i in range(13)])


def key_cap(size):
    """The layers of a key cap: outline, sides and top face."""
    px = max(1.0, size / 32)
    # At least a pixel clear on every side, so the corners stay see-through.
    left, top = max(1, round(size * 0.03)), max(1, round(size * 0.05))
    right, bottom = size - left, size - max(1, round(size * 0.02))
    radius = size * 0.17
    face_left, face_right = round(size * 0.14), size - round(size * 0.14)
    face_top, face_bottom = round(size * 0.10), round(size * 0.80)
    face_radius = size * 0.11
    return [
        (rounded_rect(left, top, right, bottom, radius), flat("#39424c")),
        (rounded_rect(left + px, top + px, right - px, bottom - px, radius - px),
         vertical_gradient("#b3bbc3", "#737c86", top, bottom)),
        (rounded_rect(face_left, face_top, face_right, face_bottom, face_radius), flat("#8d969f")),
        (rounded_rect(face_left + px, face_top + px * 0.5, face_right - px, face_bottom - px, face_radius - px),
         vertical_gradient("#ffffff", "#dde2e6", face_top, face_bottom)),
    ]


def letter_a_ogonek(size):
    """Ą: a flat-topped A on the face, its ogonek hanging from the right leg."""
    stem = max(2.0, size * 0.115)
    left, right = size * 0.25, size * 0.75
    top, baseline = round(size * 0.16), round(size * 0.61)
    middle = size / 2
    apex = stem * 0.55
    left_leg = polygon([(middle - apex, top), (middle + apex, top), (left + stem, baseline), (left, baseline)])
    right_leg = polygon([(middle - apex, top), (middle + apex, top), (right, baseline), (right - stem, baseline)])
    bar_top = top + (baseline - top) * 0.58
    bar_height = max(1.5, stem * 0.75)
    bar = polygon([(left + stem * 0.5, bar_top), (right - stem * 0.5, bar_top),
                   (right - stem * 0.5, bar_top + bar_height), (left + stem * 0.5, bar_top + bar_height)])
    # The ogonek leaves the foot of the right leg, bends down to the left
    # and ends in a tail that points right again.
    hook_width = max(1.4, stem * 0.6)
    foot = right - stem * 0.6
    hook = bezier((foot, baseline - hook_width * 0.5), (foot - stem * 1.1, baseline + size * 0.05),
                  (foot - stem * 1.0, baseline + size * 0.15), (foot + stem * 0.8, baseline + size * 0.13), 20)
    widths = [hook_width * (1 - 0.5 * i / 20) for i in range(21)]
    glyph = union(left_leg, right_leg, bar, stroke(hook, widths))
    return [(glyph, flat("#1d3550"))]


def willow_twig(size):
    """A twig with long narrow leaves; below 32 pixels only its end leaf."""
    green = ("#86c850", "#2e7d32")
    base = (size * 0.27, size * 0.68)
    tip = (size * 0.79, size * 0.16)
    bend = size * 0.035
    half_width = max(1.9, size * 0.075)
    layers = [(stroke([(size * 0.19, size * 0.75), base], [max(1.2, size * 0.045)] * 2), flat("#6b5532"))]
    if size >= 32:
        side_base = (size * 0.36, size * 0.59)
        for side_tip in ((size * 0.40, size * 0.20), (size * 0.78, size * 0.58)):
            layers.append((leaf(side_base, side_tip, half_width * 0.8, -bend * 0.6),
                           vertical_gradient(green[0], green[1], side_tip[1], side_base[1])))
    layers.append((leaf(base, tip, half_width, bend), vertical_gradient(green[0], green[1], tip[1], base[1])))
    if size >= 32:
        layers.append((leaf_midrib(base, tip, bend, size * 0.03), flat("#d8efb0")))
    return layers


def render(size, layers, grid):
    """Straight-alpha RGBA rows, top row first."""
    rows = []
    step = 1.0 / grid
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(grid):
                for sx in range(grid):
                    x, y = px + (sx + 0.5) * step, py + (sy + 0.5) * step
                    r = g = b = a = 0.0
                    for shape, paint in layers:
                        if shape(x, y):
                            cr, cg, cb, ca = paint(x, y)
                            ca /= 255.0
                            r, g, b = cr * ca + r * (1 - ca), cg * ca + g * (1 - ca), cb * ca + b * (1 - ca)
                            a = ca + a * (1 - ca)
                    total[0] += r
                    total[1] += g
                    total[2] += b
                    total[3] += a
            samples = grid * grid
            alpha = total[3] / samples
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(min(255.0, c / samples / alpha)) for c in total[:3]) +
                           (round(alpha * 255),))
        rows.append(row)
    return rows


def dib(size, rows):
    """An icon image: header, bottom-up BGRA pixels, bottom-up AND mask."""
    mask_stride = (size + 31) // 32 * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def write_icon(path, draw):
    images = [(size, dib(size, render(size, draw(size), 8 if size <= 16 else 5))) for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(directory)
        for _, image in images:
            out.write(image)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_icons.py <letter key.ico> <leaf key.ico>")
    write_icon(sys.argv[1], lambda size: key_cap(size) + letter_a_ogonek(size))
    write_icon(sys.argv[2], lambda size: key_cap(size) + willow_twig(size))


if __name__ == "__main__":
    main()
