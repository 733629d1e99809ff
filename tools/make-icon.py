#!/usr/bin/env python3
"""Draws the program icon and writes resources/lanvora.ico.

The drawing is two computer screens joined by a network cable, on a rounded dark-blue tile:
a LAN game launcher. It is drawn on a 256-unit grid and sampled at each frame size; the
16-colour frames (the classic 32 x 32 and 16 x 16 images) snap every pixel to the standard
16-colour palette, the other frames are 32-bit with alpha. Each size the system asks for at
the common display scales is drawn at that size rather than shrunk from a larger one: small
icons (caption, notification area) of 16, 20, 24 and 32 pixels and big ones (taskbar,
Alt+Tab) of 32, 40, 48 and 64 at 100, 125, 150 and 200 %; 256 for the shell's large views.
"""
import struct
import sys
import zlib

# The 16-colour Windows palette (RGB).
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

TILE = (24, 48, 120)
TILE_EDGE = (10, 20, 60)
SCREEN_FRAME = (200, 200, 200)
SCREEN_GLASS = (0, 170, 170)
SCREEN_GLOW = (120, 255, 255)
CABLE = (255, 220, 0)
STAND = (128, 128, 128)


def inside_rounded(x, y, x0, y0, x1, y1, r):
    if x < x0 or x >= x1 or y < y0 or y >= y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def sample(u, v):
    """Colour (r, g, b, a) of the drawing at grid point (u, v), 0..256."""
    # Screens: left one up, right one down, joined by a cable.
    screens = [(20, 40, 124, 130), (132, 110, 236, 200)]
    for (x0, y0, x1, y1) in screens:
        if inside_rounded(u, v, x0, y0, x1, y1, 10):
            if inside_rounded(u, v, x0 + 12, y0 + 12, x1 - 12, y1 - 12, 4):
                if (u - x0) + (v - y0) < 70:
                    return SCREEN_GLOW + (255,)
                return SCREEN_GLASS + (255,)
            return SCREEN_FRAME + (255,)
        # stand under each screen
        mid = (x0 + x1) // 2
        if y1 <= v < y1 + 16 and abs(u - mid) < 10:
            return STAND + (255,)
        if y1 + 16 <= v < y1 + 26 and abs(u - mid) < 34:
            return STAND + (255,)
    # Cable: down from the left stand's foot, then across to the right stand's foot.
    if (62 <= u <= 78 and 156 <= v <= 230) or (62 <= u <= 150 and 214 <= v <= 230):
        return CABLE + (255,)
    if inside_rounded(u, v, 0, 0, 256, 256, 44):
        if not inside_rounded(u, v, 8, 8, 248, 248, 38):
            return TILE_EDGE + (255,)
        return TILE + (255,)
    return (0, 0, 0, 0)


def render(size):
    """Pixels of one frame, top row first, with 4x4 supersampling."""
    rows = []
    n = 4
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    u = (x + (sx + 0.5) / n) * 256 / size
                    v = (y + (sy + 0.5) / n) * 256 / size
                    r, g, b, a = sample(u, v)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3] / (n * n)
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def nearest16(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE16[i], rgb)))


def bmp_4bit(size):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE16)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    andmask = bytearray()
    for row in reversed(pixels):
        line = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, (r, g, b, a) in enumerate(row):
            index = nearest16((r, g, b)) if a >= 128 else 0
            if a < 128:
                mask[x // 8] |= 0x80 >> (x % 8)
            if x % 2 == 0:
                line[x // 2] |= index << 4
            else:
                line[x // 2] |= index
        xor += line
        andmask += mask
    return header + palette + bytes(xor) + bytes(andmask)


def bmp_32bit(size):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    andmask = bytearray()
    for row in reversed(pixels):
        mask = bytearray(and_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        andmask += mask
    return header + bytes(xor) + bytes(andmask)


def png(size):
    pixels = render(size)
    raw = b''.join(b'\x00' + b''.join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main(out):
    # The 32 x 32 16-colour image comes first: it is the one the window class and the
    # notification area ask for by default on classic shells.
    frames = [(32, 16, 4, bmp_4bit(32)), (16, 16, 4, bmp_4bit(16))]
    frames += [(size, 0, 32, bmp_32bit(size)) for size in (16, 20, 24, 32)]
    # The large images (150 % and 200 % scale and up) as PNG: a third of the bytes in the
    # program, and every system the program runs on reads them.
    frames += [(size, 0, 32, png(size)) for size in (40, 48, 64, 256)]
    data = struct.pack('<HHH', 0, 1, len(frames))
    offset = 6 + 16 * len(frames)
    body = b''
    for size, colours, bpp, blob in frames:
        data += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bpp, len(blob), offset + len(body))
        body += blob
    with open(out, 'wb') as f:
        f.write(data + body)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/lanvora.ico')
