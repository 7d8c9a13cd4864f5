#!/usr/bin/python3
"""Writes the small images the GDI+ backend tests embed as resources.

Run with /usr/bin/python3 (it has PIL): /usr/bin/python3 make_test_images.py
The output is committed; the tests know the colours below.

  strip.png   RGBA 40 x 200: five 40 x 40 frames, frame k filled with
              FRAME_COLOURS[k]; frame 2 has a transparent 10 x 10 square
              at its top-left and a half-transparent column at x = 39.
  opaque.png  RGB (no alpha) 6 x 4, solid (10, 20, 30).
  native.bmp  a plain Windows bitmap 7 x 5, solid (200, 100, 50), embedded
              as a native BITMAP resource (the decoder's fallback).
  garbage.bin bytes that are no image at all.
"""
import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))

FRAME_COLOURS = [
    (255, 0, 0, 255),
    (0, 255, 0, 255),
    (0, 0, 255, 255),
    (255, 255, 0, 255),
    (16, 32, 64, 255),
]


def strip():
    img = Image.new("RGBA", (40, 200))
    px = img.load()
    for k, colour in enumerate(FRAME_COLOURS):
        for y in range(40):
            for x in range(40):
                px[x, 40 * k + y] = colour
    for y in range(10):
        for x in range(10):
            px[x, 80 + y] = (0, 0, 0, 0)
    for y in range(40):
        px[39, 80 + y] = (0, 0, 255, 128)
    img.save(os.path.join(HERE, "strip.png"), optimize=False)


def opaque():
    Image.new("RGB", (6, 4), (10, 20, 30)).save(os.path.join(HERE, "opaque.png"))


def native():
    Image.new("RGB", (7, 5), (200, 100, 50)).save(os.path.join(HERE, "native.bmp"))


def garbage():
    with open(os.path.join(HERE, "garbage.bin"), "wb") as f:
        f.write(b"this is not an image, only some bytes\n" * 4)


if __name__ == "__main__":
    strip()
    opaque()
    native()
    garbage()
