#!/usr/bin/env python3
"""Turn the text art in src/res/art/ into the program's bitmap and icons.

    python3 tools/draw_images.py OUTDIR            tree.bmp and the .ico files
    python3 tools/draw_images.py --preview OUTDIR  PNGs enlarged 8x, for people

The art is the source; the binary images are only ever generated, so they are
reviewable as text and reproducible byte for byte.
"""

import os
import struct
import sys
import zlib

ART_DIR = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                       "src", "res", "art")

# The standard 16-colour Windows palette, in its usual order, so that indices
# match what the system and its 4-bit bitmaps expect.
PALETTE = [
    ("K", (0, 0, 0)),        # black
    ("r", (128, 0, 0)),      # dark red
    ("g", (0, 128, 0)),      # dark green
    ("o", (128, 128, 0)),    # olive
    ("n", (0, 0, 128)),      # navy
    ("p", (128, 0, 128)),    # purple
    ("t", (0, 128, 128)),    # teal
    ("S", (192, 192, 192)),  # silver
    ("D", (128, 128, 128)),  # grey
    ("R", (255, 0, 0)),      # red
    ("G", (0, 255, 0)),      # green
    ("Y", (255, 255, 0)),    # yellow
    ("B", (0, 0, 255)),      # blue
    (".", (255, 0, 255)),    # magenta: the tree's transparent colour
    ("C", (0, 255, 255)),    # cyan
    ("W", (255, 255, 255)),  # white
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}
MAGENTA = INDEX["."]

# Tree image list, by index; the program addresses the images by position.
TREE = [
    "box_unchecked",      # 0
    "box_checked",        # 1
    "radio_off",          # 2
    "radio_on",           # 3
    "locked",             # 4
    "switched_off",       # 5
    "radio_disabled",     # 6
    "radio_disabled_2",   # 7
    "unused",             # 8
    "category",           # 9
    "blank",              # 10
    "blank_2",            # 11
    "attention",          # 12
    "policy",             # 13
]
TREE_SIZE = 16

# Icon files and the art blocks they hold, largest first.
ICONS = [
    ("hushgate.ico", ["app_32", "app_16"]),
    ("legend_off.ico", ["legend_off"]),
    ("legend_checked.ico", ["legend_checked"]),
    ("legend_unchecked.ico", ["legend_unchecked"]),
    ("legend_locked.ico", ["legend_locked"]),
    ("legend_attention.ico", ["legend_attention"]),
    ("legend_policy.ico", ["legend_policy"]),
]


class ArtError(Exception):
    pass


def read_art(path):
    """Blocks of a file: '[name]' then its rows, or '[name] = other' for a copy."""
    blocks, copies, order = {}, {}, []
    current = None
    with open(path, encoding="ascii") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n").rstrip()
            where = "%s:%d" % (os.path.basename(path), number)
            if not line or line.startswith("#"):
                current = None if not line else current
                continue
            if line.startswith("["):
                head, _, rest = line.partition("]")
                name = head[1:].strip()
                if name in blocks or name in copies:
                    raise ArtError("%s: %s drawn twice" % (where, name))
                order.append(name)
                rest = rest.strip()
                if rest.startswith("="):
                    copies[name] = rest[1:].strip()
                    current = None
                else:
                    blocks[name] = []
                    current = name
                continue
            if current is None:
                raise ArtError("%s: picture row outside a block" % where)
            for ch in line:
                if ch not in INDEX:
                    raise ArtError("%s: unknown colour letter %r" % (where, ch))
            blocks[current].append([INDEX[ch] for ch in line])
    for name, rows in blocks.items():
        if not rows or any(len(r) != len(rows) for r in rows):
            raise ArtError("%s: %s is not square" % (os.path.basename(path), name))
    for name, source in copies.items():
        if source not in blocks:
            raise ArtError("%s: %s copies unknown %s" % (os.path.basename(path), name, source))
        blocks[name] = [list(r) for r in blocks[source]]
    return blocks


def load_all():
    art = {}
    for file_name in ("tree.txt", "icons.txt"):
        for name, rows in read_art(os.path.join(ART_DIR, file_name)).items():
            if name in art:
                raise ArtError("%s drawn in two files" % name)
            art[name] = rows
    return art


def pack_4bpp_rows(rows):
    """Bottom-up rows, two pixels a byte, each row padded to 32 bits."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for i in range(0, len(row), 2):
            right = row[i + 1] if i + 1 < len(row) else 0
            line.append((row[i] << 4) | right)
        line.extend(b"\0" * (-len(line) % 4))
        out += line
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def tree_strip(art):
    rows = [[] for _ in range(TREE_SIZE)]
    for name in TREE:
        image = art[name]
        if len(image) != TREE_SIZE:
            raise ArtError("%s must be %d pixels" % (name, TREE_SIZE))
        for y in range(TREE_SIZE):
            rows[y].extend(image[y])
    return rows


def bmp_bytes(rows):
    width, height = len(rows[0]), len(rows)
    pixels = pack_4bpp_rows(rows)
    offset = 14 + 40 + 16 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info_header(width, height, len(pixels)) + palette_bytes() + pixels


def icon_image(rows):
    """One icon image: header of doubled height, palette, colours, AND mask."""
    size = len(rows)
    # Transparent pixels are black in the colour part so the mask blends cleanly.
    colours = [[0 if p == MAGENTA else p for p in row] for row in rows]
    xor = pack_4bpp_rows(colours)
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray((size + 7) // 8)
        for x, p in enumerate(row):
            if p == MAGENTA:
                line[x // 8] |= 0x80 >> (x % 8)
        line.extend(b"\0" * (-len(line) % 4))
        mask += line
    return info_header(size, size * 2, len(xor) + len(mask)) + palette_bytes() + xor + bytes(mask)


def ico_bytes(images):
    entries, data = b"", b""
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        image = icon_image(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4,
                               len(image), offset + len(data))
        data += image
    return struct.pack("<HHH", 0, 1, len(images)) + entries + data


def png_bytes(rgb_rows):
    width, height = len(rgb_rows[0]), len(rgb_rows)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rgb_rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def enlarged(rows, scale=8):
    """Colours enlarged, with transparency shown as a checkerboard."""
    out = []
    for y, row in enumerate(rows):
        line = []
        for x, p in enumerate(row):
            if p == MAGENTA:
                shade = 0xE8 if (x + y) % 2 else 0xC8
                colour = (shade, shade, shade)
            else:
                colour = PALETTE[p][1]
            line.extend([colour] * scale)
        out.extend([line] * scale)
    return out


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    preview = "--preview" in argv
    args = [a for a in argv if a != "--preview"]
    if len(args) != 1 or args[0].startswith("-"):
        sys.stderr.write("usage: draw_images.py [--preview] OUTDIR\n")
        return 2
    out_dir = args[0]
    os.makedirs(out_dir, exist_ok=True)
    try:
        art = load_all()
        tree = tree_strip(art)
        icons = [(file_name, [art[name] for name in names]) for file_name, names in ICONS]
    except ArtError as e:
        sys.stderr.write("draw_images.py: %s\n" % e)
        return 1
    except KeyError as e:
        sys.stderr.write("draw_images.py: no picture named %s\n" % e)
        return 1
    if preview:
        write(os.path.join(out_dir, "tree_preview.png"), png_bytes(enlarged(tree)))
        for file_name, images in icons:
            stem = file_name[:-len(".ico")]
            for rows in images:
                name = "%s_%d_preview.png" % (stem, len(rows)) if len(images) > 1 \
                    else "%s_preview.png" % stem
                write(os.path.join(out_dir, name), png_bytes(enlarged(rows)))
    else:
        write(os.path.join(out_dir, "tree.bmp"), bmp_bytes(tree))
        for file_name, images in icons:
            write(os.path.join(out_dir, file_name), ico_bytes(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
