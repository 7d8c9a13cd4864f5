"""Runs vsthost and parses its "key: value" output.

Shared by the integration tests of the plug-in libraries. A Windows vsthost
(a .exe, 32- or 64-bit) runs under wine, and paths given to it are turned
into Z: drive paths, which wine maps to the Unix file system whatever the
current directory is; the native vsthost runs directly with plain paths.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "..", "..", "scripts", "wine-run")


def is_windows(vsthost):
    return vsthost.lower().endswith(".exe")


def host_path(vsthost, path):
    """path as the given vsthost has to be told it."""
    if is_windows(vsthost):
        return "Z:" + os.path.abspath(path).replace("/", "\\")
    return os.path.abspath(path)


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


def capture(cmd, timeout=None):
    """Runs cmd and answers (status, stdout, stderr); status None when it
    did not end within timeout seconds.

    The output goes to temporary files, not pipes: the first wine process in
    a prefix starts the wineserver, which inherits the output handles and
    stays a few seconds after the program ends, and a pipe reader would
    wait for it each time."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            status = subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                    timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            status = None
        out.seek(0)
        err.seek(0)
        return status, out.read().decode(errors="replace"), err.read().decode(errors="replace")


def run(vsthost, *args, timeout=300):
    """A run that does not end within timeout seconds counts as status -1."""
    cmd = ([WINE_RUN] if is_windows(vsthost) else []) + [vsthost] + [str(a) for a in args]
    status, out, err = capture(cmd, timeout)
    if status is None:
        return Result(-1, out, "timed out after %d s: %s\n" % (timeout, " ".join(cmd)))
    return Result(status, out.replace("\r\n", "\n"), err)


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
