"""What a host sees of each plug-in library: identity, flags, channels,
parameter names with their default displays, and the one program."""
import argparse

import vsthost_run

EDITIONS = {
    "vesk": {
        "name": "Tovra Vesk",
        "id": "0x4B235433 'K#T3'",
        "params": [("First Lv", "1.000000"), ("PreDelay", "0.000000"), ("Decay", "0.500000"),
                   ("LowPass", "1.000000"), ("HighPass", "0.000000"), ("SecondLv", "1.000000"),
                   ("PreDelay", "0.000000"), ("Decay", "0.500000"), ("LowPass", "1.000000"),
                   ("HighPass", "0.000000"), ("Pan 1", "0.500000"), ("Pan 2", "0.500000"),
                   ("Stereo", "0.000000"), ("Mix", "0.500000")],
    },
    "brin": {
        "name": "Tovra Brin",
        "id": "0x4B235432 'K#T2'",
        "params": [("PreDelay", "0.000000"), ("Decay", "0.500000"), ("LowPass", "1.000000"),
                   ("HighPass", "0.000000"), ("Level", "0.500000"), ("Mix", "0.500000")],
    },
}

parser = argparse.ArgumentParser()
parser.add_argument("--vsthost", required=True)
parser.add_argument("--dll", required=True)
parser.add_argument("--edition", required=True, choices=EDITIONS)
parser.add_argument("--flags", required=True, help="expected record flags, e.g. 0x11")
args = parser.parse_args()
edition = EDITIONS[args.edition]

check = vsthost_run.Checker("identity " + args.edition)
r = vsthost_run.run(args.vsthost, "info", vsthost_run.host_path(args.vsthost, args.dll))
check.equal("exit status", r.status, 0)
if r.status == 0:
    expected = {
        "entry": "ok",
        "magic": "0x56737450",
        "effect-name": edition["name"],
        "vendor": "Korvid Dot Com",
        "product": edition["name"],
        "vendor-version": "1000",
        "vst-version": "2400",
        "unique-id": edition["id"],
        "flags": args.flags,
        "inputs": "2",
        "outputs": "2",
        "programs": "1",
        "parameters": str(len(edition["params"])),
        "initial-delay": "0",
        "program-name": "Default",
        "program": "0",
        "close": "1",
    }
    for key, value in expected.items():
        check.equal(key, r.values.get(key), value)
    for i, (name, display) in enumerate(edition["params"]):
        check.equal("param %d name" % i, r.values.get("param.%d.name" % i), name)
        check.equal("param %d display" % i, r.values.get("param.%d.display" % i), display)
        check.equal("param %d label" % i, r.values.get("param.%d.label" % i), "")
    check.true("no parameter beyond the table is listed",
               "param.%d.name" % len(edition["params"]) not in r.values)
    # The entry point asks the host for its version first, with no record yet.
    check.true("the first request is audioMasterVersion",
               bool(r.requests) and r.requests[0].get("opcode") == "1")
if check.failures:
    print(r.describe())
check.finish()
