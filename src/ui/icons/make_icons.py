#!/usr/bin/env python3
"""Draws the picture buttons' icons (32 x 32 RGBA PNG) with nothing but the standard library."""
import struct
import zlib
from pathlib import Path

SIZE = 32


def canvas():
    return [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, color):
    for y in range(max(0, y0), min(SIZE, y1 + 1)):
        for x in range(max(0, x0), min(SIZE, x1 + 1)):
            img[y][x] = color


def frame(img, x0, y0, x1, y1, color):
    rect(img, x0, y0, x1, y0, color)
    rect(img, x0, y1, x1, y1, color)
    rect(img, x0, y0, x0, y1, color)
    rect(img, x1, y0, x1, y1, color)


def line(img, x0, y0, x1, y1, color, width=1):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        rect(img, x - width // 2, y - width // 2, x + (width - 1) // 2, y + (width - 1) // 2, color)


def png(img, path):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in img)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
                     + chunk(b"IEND", b""))


INK = (40, 40, 40, 255)
BLUE = (40, 90, 200, 255)
PAPER = (255, 255, 240, 255)


def send():  # an envelope with an arrow
    img = canvas()
    rect(img, 2, 9, 25, 26, PAPER)
    frame(img, 2, 9, 25, 26, INK)
    line(img, 2, 9, 13, 18, INK)
    line(img, 25, 9, 14, 18, INK)
    line(img, 18, 4, 30, 4, BLUE, 3)
    line(img, 30, 4, 25, 0, BLUE, 2)
    line(img, 30, 4, 25, 8, BLUE, 2)
    return img


def preview():  # a phone with a screen
    img = canvas()
    rect(img, 9, 1, 22, 30, (90, 90, 110, 255))
    rect(img, 11, 4, 20, 16, (170, 220, 255, 255))
    for y in (19, 23, 27):
        for x in (12, 15, 18):
            rect(img, x, y, x + 1, y + 1, PAPER)
    return img


def signature():  # a pen over a line
    img = canvas()
    line(img, 3, 28, 29, 28, INK)
    line(img, 8, 23, 26, 5, BLUE, 4)
    line(img, 8, 23, 5, 26, INK, 2)
    return img


def vertical():  # vertical lines of text and a down arrow
    img = canvas()
    rect(img, 2, 2, 24, 29, PAPER)
    frame(img, 2, 2, 24, 29, INK)
    for x in (19, 13, 7):
        line(img, x, 6, x, 25, INK, 2)
    line(img, 28, 6, 28, 26, (200, 30, 30, 255), 2)
    line(img, 28, 26, 25, 22, (200, 30, 30, 255), 2)
    line(img, 28, 26, 31, 22, (200, 30, 30, 255), 2)
    return img


def addressbook():  # a bound book with a head on its cover
    img = canvas()
    rect(img, 6, 2, 27, 29, (60, 130, 80, 255))
    rect(img, 6, 2, 8, 29, INK)
    rect(img, 15, 8, 20, 13, PAPER)
    rect(img, 12, 16, 23, 22, PAPER)
    return img


def main():
    here = Path(__file__).resolve().parent
    for name, draw in (("send", send), ("preview", preview), ("signature", signature), ("vertical", vertical),
                       ("addressbook", addressbook)):
        png(draw(), here / f"{name}.png")


if __name__ == "__main__":
    main()
