#!/usr/bin/python3
"""Drives a plug-in DLL's editor through `vsthost editor` under wine and checks
what a user and a host would see: the window's pixels (screenshots compared
with the committed artwork) and the host requests the effect makes.

    editor_wine_test.py CASE --vsthost EXE --dll DLL --edition vesk|brin
                        --resources DIR --work DIR [--wine-run SCRIPT]

CASE is one of: layout, automation, gestures, switch, reopen, memory.
Needs Debian's /usr/bin/python3 with python3-pil.
"""

import argparse
import os
import subprocess
import sys

from PIL import Image

KNOB_TOP = 54
DISPLAY_TOP, DISPLAY_BOTTOM = 99, 109
STRIP_FRAMES = 97
SWITCH = (554, 67, 566, 89)  # left, top, right, bottom (Vesk)

EDITIONS = {
    # parameter index -> knob left edge, in creation order; size; mix index
    "vesk": dict(width=642, mix=13, decay=2,
                 knobs={1: 9, 2: 54, 3: 93, 4: 135, 0: 177, 10: 219, 6: 277, 7: 319,
                        8: 361, 9: 403, 5: 445, 11: 487, 13: 586}),
    "brin": dict(width=310, mix=5, decay=1,
                 knobs={0: 9, 1: 51, 2: 93, 3: 135, 4: 177, 5: 256}),
}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Runner:
    def __init__(self, args):
        self.args = args
        self.edition = EDITIONS[args.edition]
        os.makedirs(args.work, exist_ok=True)
        self.counter = 0

    def path(self, name):
        # Cases run in parallel: every file carries the edition and the case.
        return os.path.join(self.args.work,
                            "%s-%s-%s" % (self.args.edition, self.args.case, name))

    def run(self, actions, extra=()):
        """Runs vsthost editor with the actions; answers the log lines."""
        self.counter += 1
        actions_file = self.path("actions-%d.txt" % self.counter)
        log_file = self.path("log-%d.txt" % self.counter)
        with open(actions_file, "w") as f:
            f.write("\n".join(actions) + "\n")
        command = [self.args.wine_run, self.args.vsthost, "editor", self.args.dll,
                   "--actions", actions_file, "--log", log_file] + list(extra)
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=540)
        lines = []
        if os.path.exists(log_file):
            with open(log_file) as f:
                lines = [line.rstrip("\n") for line in f]
        if result.returncode != 0 or not lines or lines[-1] != "done 0":
            sys.stdout.write(result.stdout.decode(errors="replace"))
            sys.stdout.write("\n".join(lines) + "\n")
            raise Failure("vsthost editor failed (exit %d)" % result.returncode)
        return lines

    def shot(self, name):
        return self.path(name + ".png")

    # --- image helpers -------------------------------------------------

    def artwork(self):
        res = self.args.resources
        background = Image.open(os.path.join(res, "background_%s.png" % self.args.edition))
        strip = Image.open(os.path.join(res, "knob.png")).convert("RGBA")
        lever = Image.open(os.path.join(res, "switch.png")).convert("RGBA")
        return background.convert("RGBA"), strip, lever

    @staticmethod
    def difference(a, b):
        """Mean absolute difference per channel of two equal-size RGB images."""
        pa, pb = a.convert("RGB").tobytes(), b.convert("RGB").tobytes()
        return sum(abs(x - y) for x, y in zip(pa, pb)) / float(len(pa))

    def frame_shown(self, screen, background, strip, left):
        """The strip frame whose composite over the background best matches
        the knob at `left`, and how far off that best match is."""
        box = (left, KNOB_TOP, left + 40, KNOB_TOP + 40)
        shown = screen.crop(box)
        ground = background.crop(box)
        best, best_error = -1, None
        for k in range(STRIP_FRAMES):
            frame = strip.crop((0, 40 * k, 40, 40 * k + 40))
            expected = Image.alpha_composite(ground, frame)
            error = self.difference(shown, expected)
            if best_error is None or error < best_error:
                best, best_error = k, error
        return best, best_error

    @staticmethod
    def changed_box(a, b):
        """Bounding box (left, top, right, bottom) of the pixels that differ."""
        from PIL import ImageChops
        return ImageChops.difference(a.convert("RGB"), b.convert("RGB")).getbbox()

    def knob_box(self, index):
        left = self.edition["knobs"][index]
        return (left, KNOB_TOP, left + 40, KNOB_TOP + 40)

    def display_box(self, index):
        left = self.edition["knobs"][index]
        return (left + 2, DISPLAY_TOP, left + 42, DISPLAY_BOTTOM)

    @staticmethod
    def inside(inner, outer):
        return (inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2]
                and inner[3] <= outer[3])


def requests(lines, kinds=("automate", "begin-edit", "end-edit")):
    return [line for line in lines if line.split(" ", 1)[0] in kinds]


def automated_values(lines, index):
    values = []
    for line in lines:
        words = line.split()
        if words[0] == "automate" and int(words[1]) == index:
            values.append(float(words[2]))
    return values


# --- cases ---------------------------------------------------------------

def case_layout(r):
    """Size, and every knob and display showing its parameter's value."""
    ed = r.edition
    values = {}
    actions = []
    for n, index in enumerate(sorted(ed["knobs"])):
        # The middle of a strip frame, a different frame for each knob.
        frame = (7 * n + 3) % STRIP_FRAMES
        values[index] = (frame + 0.5) / 96.0
        actions.append("automate %d %.6f" % (index, values[index]))
    actions += ["wait 150", "screenshot " + r.shot("layout")]
    lines = r.run(actions)
    check(lines[0] == "open 1 %d 120" % ed["width"], "editor size: %s" % lines[0])
    screen = Image.open(r.shot("layout")).convert("RGBA")
    check(screen.size == (ed["width"], 120), "screenshot size %s" % (screen.size,))
    background, strip, _ = r.artwork()
    for index, left in ed["knobs"].items():
        frame, error = r.frame_shown(screen, background, strip, left)
        expected = int(values[index] * 96)
        check(frame == expected and error < 4.0,
              "knob %d shows frame %d (off by %.2f), expected %d" % (index, frame, error, expected))
        box = r.display_box(index)
        check(r.changed_box(screen.crop(box), background.crop(box)) is not None,
              "display %d shows no text" % index)


def case_automation(r):
    """Host automation redraws only its knob and display, at the next idle,
    and the display shows the value with two decimals."""
    ed = r.edition
    p = ed["decay"]
    lines = r.run([
        "automate %d 0.5" % p, "wait 150", "screenshot " + r.shot("auto-0"),
        "automate %d 0.8" % p, "screenshot " + r.shot("auto-1"),
        "idle", "screenshot " + r.shot("auto-2"),
        # Two decimals: 0.804 still reads 0.80, 0.81 reads 0.81.
        "automate %d 0.804" % p, "wait 150", "screenshot " + r.shot("auto-3"),
        "automate %d 0.81" % p, "wait 150", "screenshot " + r.shot("auto-4"),
    ])
    check(requests(lines) == [], "host automation is not reported back: %s" % requests(lines))
    shots = [Image.open(r.shot("auto-%d" % i)) for i in range(5)]
    check(r.changed_box(shots[0], shots[1]) is None, "changed before the idle pass")
    box = r.changed_box(shots[1], shots[2])
    check(box is not None, "nothing changed at the idle pass")
    knob, display = r.knob_box(p), r.display_box(p)
    union = (min(knob[0], display[0]), knob[1], max(knob[2], display[2]), display[3])
    check(r.inside(box, union), "changed %s, outside knob and display %s" % (box, union))
    check(r.changed_box(shots[1].crop(knob), shots[2].crop(knob)) is not None, "knob unchanged")
    check(r.changed_box(shots[1].crop(display), shots[2].crop(display)) is not None,
          "display unchanged")
    check(r.changed_box(shots[2].crop(display), shots[3].crop(display)) is None,
          "0.804 must read like 0.80")
    check(r.changed_box(shots[3].crop(display), shots[4].crop(display)) is not None,
          "0.81 must read unlike 0.80")
    box = r.changed_box(shots[2], shots[4])
    check(box is not None and r.inside(box, union), "0.81 changed %s" % (box,))


def case_gestures(r):
    """Drag, Control+click, wheel and arrow key on the Mix knob."""
    ed = r.edition
    m = ed["mix"]
    left = ed["knobs"][m]
    cx, cy = left + 20, KNOB_TOP + 20
    lines = r.run([
        "echo drag",
        "drag %d %d %d %d 10" % (cx, cy, cx, cy - 10),
        "param %d" % m,
        "echo ctrl-click",
        "automate %d 0.8" % m,
        "click %d %d ctrl" % (cx, cy),
        "param %d" % m,
        "echo wheel",
        "wheel %d %d 120" % (cx, cy),
        "param %d" % m,
        "echo key",
        "key 0 12 0",
        "param %d" % m,
    ])
    sections = {}
    name = None
    for line in lines:
        if line in ("drag", "ctrl-click", "wheel", "key"):
            name = line
            sections[name] = []
        elif name:
            sections[name].append(line)

    drag = requests(sections["drag"])
    check(drag[0] == "begin-edit %d" % m and drag[-1] == "end-edit %d" % m,
          "drag bracket: %s" % drag)
    values = automated_values(sections["drag"], m)
    check(len(values) == 10, "drag automations: %s" % values)
    for k, v in enumerate(values, 1):
        check(abs(v - (0.5 + k / 200.0)) < 1e-4, "drag step %d gave %f" % (k, v))

    ctrl = requests(sections["ctrl-click"])
    check(ctrl == ["begin-edit %d" % m, "begin-edit %d" % m, "automate %d 0.500000" % m,
                   "end-edit %d" % m, "end-edit %d" % m], "ctrl-click: %s" % ctrl)
    check("param %d 0.500000" % m in sections["ctrl-click"], "ctrl-click value")

    wheel = requests(sections["wheel"])
    check(wheel == ["begin-edit %d" % m, "automate %d 0.600000" % m, "end-edit %d" % m],
          "wheel: %s" % wheel)

    key = requests(sections["key"])
    check(key == ["begin-edit %d" % m, "automate %d 0.700000" % m, "end-edit %d" % m],
          "up arrow: %s" % key)
    check("key 1" in sections["key"], "key not reported handled")


def case_switch(r):
    """Clicking the Stereo switch sets parameter 12 to 1 after repainting."""
    before, after = r.shot("switch-0"), r.shot("switch-1")
    for extra in ((), ("--idle-reenters",)):
        lines = r.run(["wait 150", "screenshot " + before, "echo click",
                       "click %d %d" % (SWITCH[0] + 6, SWITCH[1] + 11), "param 12",
                       "screenshot " + after], extra)
        clicked = lines[lines.index("click") + 1:]
        edits = requests(clicked, ("idle", "automate", "begin-edit", "end-edit"))
        check(edits[:1] == ["idle"], "no repaint before the notification: %s" % edits)
        check([e for e in edits if e != "idle"] ==
              ["begin-edit 12", "automate 12 1.000000", "end-edit 12"], "switch: %s" % edits)
        check("param 12 1.000000" in clicked, "parameter 12 not set")
        box = r.changed_box(Image.open(before), Image.open(after))
        check(box is not None and r.inside(box, SWITCH), "switch repaint %s" % (box,))


def case_reopen(r):
    """Close and reopen: new controls and the linear knob mode again."""
    ed = r.edition
    m = ed["mix"]
    left = ed["knobs"][m]
    top_x, top_y = left + 20, KNOB_TOP + 2
    lines = r.run([
        "automate %d 0.2" % m,
        "knobmode 1",
        "echo circular",
        "click %d %d" % (top_x, top_y),     # circular: jumps to straight up
        "param %d" % m,
        "close", "automate %d 0.2" % m, "open", "wait 100",
        "screenshot " + r.shot("reopen"),
        "echo linear",
        "down %d %d" % (top_x, top_y), "move %d %d" % (top_x, top_y - 10),
        "up %d %d" % (top_x, top_y - 10),
        "param %d" % m,
    ])
    circular = automated_values(lines[lines.index("circular"):lines.index("linear")], m)
    check(circular and abs(circular[0] - 0.5) < 0.03, "circular click: %s" % circular)
    check(lines.count("open 1 %d 120" % ed["width"]) == 2, "reopen: %s" % lines)
    linear = automated_values(lines[lines.index("linear"):], m)
    check(linear and abs(linear[-1] - 0.25) < 1e-4, "linear after reopen: %s" % linear)
    screen = Image.open(r.shot("reopen")).convert("RGBA")
    background, strip, _ = r.artwork()
    frame, error = r.frame_shown(screen, background, strip, left)
    check(frame == int(0.2 * 96), "reopened knob shows frame %d" % frame)


def memory(lines, label):
    """The counters logged right after the echo `label`."""
    i = lines.index(label)
    return {k: int(v) for k, v in (w.split("=") for w in lines[i + 1].split()[1:])}


def case_memory(r):
    """Opening and closing 200 times, and destroying the effect with its
    editor open, keep the process's memory flat."""
    lines = r.run([
        "cycle 20", "echo warm", "memory",
        "cycle 200", "echo cycled", "memory",
        "recreate 20", "echo recreated-warm", "memory",
        "recreate 100", "echo recreated", "memory",
    ])
    print("\n".join(line for line in lines if line.startswith("memory")))
    limit = 2 * 1024 * 1024
    for start, end in (("warm", "cycled"), ("recreated-warm", "recreated")):
        before, after = memory(lines, start), memory(lines, end)
        check(before["private"] > 0 and before["working"] > 0, "no memory counters: %s" % before)
        for counter in ("private", "working", "gdi", "user"):
            growth = after[counter] - before[counter]
            check(growth < limit, "%s grew by %d bytes from %s to %s" % (counter, growth, start, end))
    check(any(line.startswith("recreate 100 children=1") for line in lines),
          "editor window missing after recreating")


CASES = {
    "layout": case_layout,
    "automation": case_automation,
    "gestures": case_gestures,
    "switch": case_switch,
    "reopen": case_reopen,
    "memory": case_memory,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--vsthost", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--edition", required=True, choices=sorted(EDITIONS))
    parser.add_argument("--resources", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--wine-run", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "wine-run"))
    args = parser.parse_args()
    try:
        CASES[args.case](Runner(args))
    except Failure as failure:
        print("FAIL %s %s: %s" % (args.edition, args.case, failure))
        return 1
    print("PASS %s %s" % (args.edition, args.case))
    return 0


if __name__ == "__main__":
    sys.exit(main())
