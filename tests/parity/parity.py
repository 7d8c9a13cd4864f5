#!/usr/bin/env python3
"""The native renderer and the Windows plug-in compute the same audio.

Renders one signal through tovra-render (native build) and through each
plug-in DLL with `vsthost render` under wine, for both editions, with the
default settings, with a changed setting of every parameter, and with all
settings changed at another rate and block size, and requires the output
bytes to be identical.

usage: parity.py --render TOOL --vsthost EXE --wine-run SCRIPT
                 --vesk DLL --brin DLL --work DIR
"""
import argparse
import math
import os
import struct
import subprocess
import sys

RATE = 44100
FRAMES = 40000

# Defaults in parameter order; a changed setting moves each away from its
# default to a value that is exact in binary (so both programs read the same
# float from the text).
DEFAULTS = {
    "vesk": [1.0, 0.0, 0.5, 1.0, 0.0, 1.0, 0.0, 0.5, 1.0, 0.0, 0.5, 0.5, 0.0, 0.5],
    "brin": [0.0, 0.5, 1.0, 0.0, 0.5, 0.5],
}


def changed(default):
    return 0.75 if default < 0.5 else 0.25


def make_signal(path, bad_samples=False):
    """Clicks, noise bursts and a decaying tone; integer noise, no libm."""
    x = 0x2468ACE
    data = []
    for i in range(FRAMES):
        phase = i % 10000
        left = right = 0.0
        if phase == 0:
            left, right = 0.75, -0.5
        elif 2000 < phase < 3500:
            x ^= (x << 13) & 0xFFFFFFFF
            x ^= x >> 17
            x ^= (x << 5) & 0xFFFFFFFF
            left = (x / 4294967296.0 - 0.5) * 0.5
            right = -left * 0.5
        data.append(struct.pack("<ff", left, right))
    if bad_samples:
        for i, value in ((123, float("nan")), (4567, float("inf")), (9000, -1e30)):
            data[i] = struct.pack("<ff", value, 0.25)
    with open(path, "wb") as f:
        f.write(b"".join(data))


def run(cmd):
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        sys.stderr.write("command failed (%d): %s\n%s%s" % (
            result.returncode, " ".join(cmd), result.stdout.decode(errors="replace"),
            result.stderr.decode(errors="replace")))
        return False
    return True


def first_difference(a, b):
    if len(a) != len(b):
        return "lengths differ: %d and %d bytes" % (len(a), len(b))
    for i in range(0, len(a), 4):
        if a[i:i + 4] != b[i:i + 4]:
            frame, channel = divmod(i // 4, 2)
            va = struct.unpack("<f", a[i:i + 4])[0]
            vb = struct.unpack("<f", b[i:i + 4])[0]
            return "first difference at frame %d channel %d: %r (native) vs %r (dll)" % (
                frame, channel, va, vb)
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--render", required=True)
    ap.add_argument("--vsthost", required=True)
    ap.add_argument("--wine-run", required=True)
    ap.add_argument("--vesk", required=True)
    ap.add_argument("--brin", required=True)
    ap.add_argument("--work", required=True)
    args = ap.parse_args()

    os.makedirs(args.work, exist_ok=True)
    signal = os.path.join(args.work, "parity-in.f32")
    bad = os.path.join(args.work, "parity-bad-in.f32")
    make_signal(signal)
    make_signal(bad, bad_samples=True)

    cases = []  # (edition, label, input, rate, block, settings)
    for edition, defaults in DEFAULTS.items():
        cases.append((edition, "defaults", signal, RATE, 512, []))
        for index, default in enumerate(defaults):
            cases.append((edition, "parameter %d" % index, signal, RATE, 512,
                          [(index, changed(default))]))
        everything = [(i, changed(d)) for i, d in enumerate(defaults)]
        cases.append((edition, "all changed, 48000 Hz, blocks of 333", signal, 48000, 333,
                      everything))
        cases.append((edition, "bad input samples, blocks of 3000", bad, RATE, 3000, []))

    dlls = {"vesk": args.vesk, "brin": args.brin}
    failures = 0
    for n, (edition, label, source, rate, block, settings) in enumerate(cases):
        native = os.path.join(args.work, "parity-%d-native.f32" % n)
        dll = os.path.join(args.work, "parity-%d-dll.f32" % n)
        sets = []
        for index, value in settings:
            sets += ["--set", "%d=%r" % (index, value)]
        ok = run([args.render, "--edition", edition, "--quiet", "--tail", "0",
                  "--rate", str(rate), "--block", str(block)] + sets + [source, native])
        ok = run([args.wine_run, args.vsthost, "render", dlls[edition], "--in", source,
                  "--out", dll, "--rate", str(rate), "--block", str(block)] + sets) and ok
        what = "%s, %s" % (edition, label)
        if not ok:
            print("FAIL %s: a renderer failed" % what)
            failures += 1
            continue
        with open(native, "rb") as f:
            a = f.read()
        with open(dll, "rb") as f:
            b = f.read()
        difference = first_difference(a, b)
        if difference or len(a) != FRAMES * 8:
            print("FAIL %s: %s" % (what, difference or "wrong length %d" % len(a)))
            failures += 1
        else:
            print("ok   %s (%d frames identical)" % (what, FRAMES))
    print("%d of %d cases identical" % (len(cases) - failures, len(cases)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
