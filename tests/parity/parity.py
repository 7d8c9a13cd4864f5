#!/usr/bin/env python3
"""Every build computes the same audio.

Renders one signal through tovra-render (native build) and through the
plug-in libraries of every platform given with --plugins: the Linux shared
libraries with the native vsthost, the 32- and 64-bit Windows DLLs with
their vsthost.exe under wine. Both editions, with the default settings,
with a changed setting of every parameter, with all settings changed at
another rate and block size, and with bad input samples; every output must
equal tovra-render's byte for byte.

usage: parity.py --render TOOL --work DIR [--wine-run SCRIPT]
                 --plugins LABEL VSTHOST VESK BRIN [--plugins ...]
A VSTHOST ending in .exe runs under wine (--wine-run, default
scripts/wine-run next to this tree).
"""
import argparse
import math
import os
import struct
import subprocess
import sys
import tempfile

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
    # Output into files, not pipes: a wineserver started by this run inherits
    # the handles and outlives it by seconds, which a pipe reader would wait
    # out every time.
    with tempfile.TemporaryFile() as out:
        status = subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.STDOUT).returncode
        if status != 0:
            out.seek(0)
            sys.stderr.write("command failed (%d): %s\n%s" % (
                status, " ".join(cmd), out.read().decode(errors="replace")))
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
            return "first difference at frame %d channel %d: %r (tovra-render) vs %r" % (
                frame, channel, va, vb)
    return None


def host_path(vsthost, path):
    """A Windows vsthost under wine sees the Unix file system as drive Z:."""
    if vsthost.lower().endswith(".exe"):
        return "Z:" + os.path.abspath(path).replace("/", "\\")
    return os.path.abspath(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser()
    ap.add_argument("--render", required=True)
    ap.add_argument("--wine-run", default=os.path.join(here, "..", "..", "scripts", "wine-run"))
    ap.add_argument("--plugins", nargs=4, action="append", required=True,
                    metavar=("LABEL", "VSTHOST", "VESK", "BRIN"))
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

    platforms = [(label, vsthost, {"vesk": vesk, "brin": brin})
                 for label, vsthost, vesk, brin in args.plugins]
    failures = 0
    for n, (edition, label, source, rate, block, settings) in enumerate(cases):
        what = "%s, %s" % (edition, label)
        sets = []
        for index, value in settings:
            sets += ["--set", "%d=%r" % (index, value)]
        reference = os.path.join(args.work, "parity-%d-render.f32" % n)
        if not run([args.render, "--edition", edition, "--quiet", "--tail", "0",
                    "--rate", str(rate), "--block", str(block)] + sets + [source, reference]):
            print("FAIL %s: tovra-render failed" % what)
            failures += 1
            continue
        with open(reference, "rb") as f:
            expected = f.read()
        if len(expected) != FRAMES * 8:
            print("FAIL %s: tovra-render wrote %d bytes" % (what, len(expected)))
            failures += 1
            continue
        bad_platforms = []
        for platform, vsthost, libraries in platforms:
            out = os.path.join(args.work, "parity-%d-%s.f32" % (n, platform))
            if os.path.exists(out):
                os.remove(out)
            wrapper = [args.wine_run] if vsthost.lower().endswith(".exe") else []
            if not run(wrapper + [vsthost, "--quiet", "render",
                                  host_path(vsthost, libraries[edition]),
                                  "--in", host_path(vsthost, source), "--out", host_path(vsthost, out),
                                  "--rate", str(rate), "--block", str(block)] + sets):
                print("FAIL %s: %s: vsthost render failed" % (what, platform))
                bad_platforms.append(platform)
                continue
            with open(out, "rb") as f:
                difference = first_difference(expected, f.read())
            if difference:
                print("FAIL %s: %s: %s" % (what, platform, difference))
                bad_platforms.append(platform)
        if bad_platforms:
            failures += 1
        else:
            print("ok   %s (%d frames identical in tovra-render, %s)" % (
                what, FRAMES, ", ".join(p[0] for p in platforms)))
    print("%d of %d cases identical" % (len(cases) - failures, len(cases)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
