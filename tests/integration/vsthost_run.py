"""Runs vsthost under wine and parses its "key: value" output.

Shared by the integration tests of the plug-in libraries. Paths given to
the Windows side are turned into Z: drive paths, which wine maps to the
Unix file system whatever the current directory is.
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "..", "..", "scripts", "wine-run")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Result:
    def __init__(self, status, stdout, stderr):
        self.status = status
        self.stdout = stdout
        self.stderr = stderr
        self.lines = stdout.splitlines()
        self.values = {}
        self.requests = []
        for line in self.lines:
            key, sep, value = line.partition(": ")
            if not sep:
                continue
            if key == "request":
                self.requests.append(dict(p.split("=", 1) for p in value.split()))
            else:
                self.values.setdefault(key, value)

    def __getitem__(self, key):
        return self.values[key]

    def describe(self):
        return "status %d\n--- stdout\n%s--- stderr\n%s" % (self.status, self.stdout, self.stderr)


def run(vsthost, *args, timeout=300):
    """A run that does not end within timeout seconds counts as status -1."""
    cmd = [WINE_RUN, vsthost] + [str(a) for a in args]
    try:
        proc = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired as e:
        out = e.stdout.decode(errors="replace") if isinstance(e.stdout, bytes) else (e.stdout or "")
        return Result(-1, out, "timed out after %d s: %s\n" % (timeout, " ".join(cmd)))
    return Result(proc.returncode, proc.stdout.replace("\r\n", "\n"), proc.stderr)


class Checker:
    """Collects failures so that one run reports all of them."""

    def __init__(self, name):
        self.name = name
        self.failures = []

    def equal(self, what, actual, expected):
        if actual != expected:
            self.failures.append("%s: got %r, expected %r" % (what, actual, expected))

    def true(self, what, condition):
        if not condition:
            self.failures.append(what)

    def finish(self):
        for f in self.failures:
            print("FAIL %s: %s" % (self.name, f))
        if self.failures:
            sys.exit(1)
        print("ok %s" % self.name)
        sys.exit(0)
