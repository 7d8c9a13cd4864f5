"""Audio through a real plug-in library: silence stays far below hearing
(the filters' anti-denormal offsets leave a trace of about 1e-24), an
impulse gives a finite reverberation, and in-place processing gives the
same samples as separate buffers."""
import argparse
import math
import os
import struct
import tempfile

import vsthost_run

parser = argparse.ArgumentParser()
parser.add_argument("--vsthost", required=True)
parser.add_argument("--dll", required=True)
parser.add_argument("--name", required=True)
args = parser.parse_args()
dll = vsthost_run.host_path(args.vsthost, args.dll)
check = vsthost_run.Checker("render " + args.name)

FRAMES = 44100


def write(path, samples):
    with open(path, "wb") as f:
        f.write(struct.pack("<%df" % len(samples), *samples))


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    return list(struct.unpack("<%df" % (len(data) // 4), data))


def render(infile, outfile, *extra):
    r = vsthost_run.run(args.vsthost, "--quiet", "render", dll,
                        "--in", vsthost_run.host_path(args.vsthost, infile),
                        "--out", vsthost_run.host_path(args.vsthost, outfile), *extra)
    check.equal("render %s: exit status" % " ".join(extra), r.status, 0)
    if r.status != 0:
        print(r.describe())
    check.equal("render %s: frames" % " ".join(extra), r.values.get("frames"), str(FRAMES))
    check.equal("render %s: close" % " ".join(extra), r.values.get("close"), "1")
    return read(outfile) if os.path.exists(outfile) else []


with tempfile.TemporaryDirectory() as tmp:
    silence = os.path.join(tmp, "silence.f32")
    impulse = os.path.join(tmp, "impulse.f32")
    write(silence, [0.0] * (2 * FRAMES))
    write(impulse, [1.0, 0.5] + [0.0] * (2 * FRAMES - 2))

    out = render(silence, os.path.join(tmp, "silence.out"))
    check.true("silence in, (almost) silence out: peak %g" % max(map(abs, out), default=0.0),
               len(out) == 2 * FRAMES and all(abs(s) < 1e-20 for s in out))

    a = render(impulse, os.path.join(tmp, "a.out"), "--block", "300")
    b = render(impulse, os.path.join(tmp, "b.out"), "--block", "300", "--in-place")
    check.equal("output length", len(a), 2 * FRAMES)
    check.true("every sample is finite", all(math.isfinite(s) for s in a))
    check.true("the impulse leaves a tail after the first 100 ms",
               any(abs(s) > 1e-6 for s in a[2 * 4410:]))
    check.true("in place gives the same samples", a == b)
check.finish()
