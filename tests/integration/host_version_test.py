"""The entry point refuses a host that answers 0 to the version query and
creates nothing; any other version is accepted as it is."""
import argparse

import vsthost_run

parser = argparse.ArgumentParser()
parser.add_argument("--vsthost", required=True)
parser.add_argument("--dll", required=True)
parser.add_argument("--name", required=True)
args = parser.parse_args()
dll = vsthost_run.host_path(args.vsthost, args.dll)

check = vsthost_run.Checker("host version " + args.name)
r = vsthost_run.run(args.vsthost, "--host-version", 0, "info", dll)
check.equal("version 0: entry", r.values.get("entry"), "null")
check.equal("version 0: exit status", r.status, 3)
check.equal("version 0: the only request is the version query",
            [q.get("opcode") for q in r.requests], ["1"])
if r.requests:
    check.equal("version 0: asked without a record", r.requests[0].get("ptr"), "null")

for version in (1, 2300, 2400, 9999):
    r = vsthost_run.run(args.vsthost, "--host-version", version, "--quiet", "info", dll)
    check.equal("version %d: entry" % version, r.values.get("entry"), "ok")
    check.equal("version %d: close" % version, r.values.get("close"), "1")
if check.failures:
    print(r.describe())
check.finish()
