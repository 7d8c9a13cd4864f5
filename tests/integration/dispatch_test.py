"""Dispatcher calls on a real plug-in library, each on an effect of its own:
effClose answers 1, opcodes the effect does not know answer 0, fixed
answers of the protocol, and null buffers for opcodes that write text are
refused with 0, and the editor opcodes with and without an editor. All calls
run in one vsthost process (--batch)."""
import argparse
import os
import tempfile

import vsthost_run

parser = argparse.ArgumentParser()
parser.add_argument("--vsthost", required=True)
parser.add_argument("--dll", required=True)
parser.add_argument("--name", required=True)
parser.add_argument("--editor", required=True,
                    help="the editor's size as WIDTHxHEIGHT, or none for a library without editor")
args = parser.parse_args()
check = vsthost_run.Checker("dispatch " + args.name)

# (what, call line, key, expected)
CASES = [("effClose", "1", "result", "1")]
for opcode in (9, 16, 17, 18, 20, 21, 28, 43, 53, 80, 100, 999, -1):
    CASES.append(("unknown opcode %d" % opcode, "%d 1 1 1.0" % opcode, "result", "0"))
CASES += [
    ("effIdentify", "22", "result", "1316373862"),  # 'NvEf'
    ("effGetVstVersion", "58", "result", "2400"),
    ("effGetVendorVersion", "49", "result", "1000"),
    ("effGetPlugCategory", "35", "result", "0"),
    ("effGetTailSize", "52", "result", "0"),
    ("effGetCurrentMidiProgram", "63", "result", "-1"),
    ("effSetTotalSampleToProcess", "73 0 512 0", "result", "512"),
    ("effCanBeAutomated beyond the table", "26 99 0 0", "result", "1"),
    ("effGetChunk", "23", "result", "0"),
    ("effSetProgram 1 is ignored", "2 0 1 0", "result", "0"),
    ("effGetEffectName", "45", "result", "1"),
    ("effGetProgramName", "5", "text", "Default"),
]
for opcode in (5, 7, 8, 13, 23, 45, 47, 48, 51):
    CASES.append(("opcode %d with a null buffer" % opcode, "%d --null-ptr" % opcode, "result", "0"))
    CASES.append(("opcode %d with a null buffer, then close" % opcode, "%d --null-ptr" % opcode,
                  "close", "1"))

if args.editor == "none":
    CASES += [
        ("effEditGetRect without an editor", "13", "result", "0"),
        ("effEditGetRect without an editor gives no rectangle", "13", "rect", None),
        ("effEditOpen without an editor", "14", "result", "0"),
        ("effEditIdle without an editor", "19", "result", "0"),
        ("effEditKeyDown without an editor", "59 65 0 0", "result", "0"),
    ]
else:
    width, height = args.editor.split("x")
    CASES += [
        ("effEditGetRect", "13", "result", "1"),
        ("effEditGetRect gives the editor's size", "13", "rect", "0 0 %s %s" % (height, width)),
    ]

with tempfile.TemporaryDirectory() as tmp:
    batch = os.path.join(tmp, "calls.txt")
    with open(batch, "w") as f:
        for _, line, _, _ in CASES:
            f.write(line + "\n")
    r = vsthost_run.run(args.vsthost, "--quiet", "dispatch",
                        vsthost_run.host_path(args.vsthost, args.dll),
                        "--batch", vsthost_run.host_path(args.vsthost, batch))

check.equal("exit status", r.status, 0)
for n, (what, _, key, expected) in enumerate(CASES, start=1):
    check.equal(what, r.values.get("%d.%s" % (n, key)), expected)
if check.failures:
    print(r.describe())
check.finish()
