"""Single dispatcher calls on a real plug-in library: effClose answers 1,
opcodes the effect does not know answer 0, fixed answers of the protocol,
and null buffers for opcodes that write text are refused with 0."""
import argparse

import vsthost_run

parser = argparse.ArgumentParser()
parser.add_argument("--vsthost", required=True)
parser.add_argument("--dll", required=True)
parser.add_argument("--name", required=True)
args = parser.parse_args()
dll = vsthost_run.windows_path(args.dll)
check = vsthost_run.Checker("dispatch " + args.name)


def dispatch(*call):
    r = vsthost_run.run(args.vsthost, "--quiet", "dispatch", dll, *call)
    if r.status != 0:
        check.failures.append("dispatch %s: %s" % (" ".join(map(str, call)), r.describe()))
    return r


r = dispatch(1)  # effClose
check.equal("effClose", r.values.get("result"), "1")

for opcode in (9, 16, 17, 18, 20, 21, 28, 43, 53, 80, 100, 999, -1):
    check.equal("unknown opcode %d" % opcode, dispatch(opcode, 1, 1, 1.0).values.get("result"), "0")

FIXED = [
    ("effIdentify", (22,), "1316373862"),            # 'NvEf'
    ("effGetVstVersion", (58,), "2400"),
    ("effGetVendorVersion", (49,), "1000"),
    ("effGetPlugCategory", (35,), "0"),
    ("effGetTailSize", (52,), "0"),
    ("effGetCurrentMidiProgram", (63,), "-1"),
    ("effSetTotalSampleToProcess", (73, 0, 512, 0), "512"),
    ("effCanBeAutomated beyond the table", (26, 99, 0, 0), "1"),
    ("effGetChunk", (23,), "0"),
    ("effSetProgram 1 then effGetProgram", (2, 0, 1, 0), "0"),
    ("effGetEffectName", (45,), "1"),
]
for what, call, expected in FIXED:
    check.equal(what, dispatch(*call).values.get("result"), expected)

r = dispatch(5)  # effGetProgramName
check.equal("effGetProgramName text", r.values.get("text"), "Default")

for opcode in (5, 7, 8, 13, 23, 45, 47, 48, 51):
    r = dispatch(opcode, "--null-ptr")
    check.equal("opcode %d with a null buffer" % opcode, r.values.get("result"), "0")
    check.equal("opcode %d with a null buffer closes cleanly" % opcode, r.values.get("close"), "1")
check.finish()
