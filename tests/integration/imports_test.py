"""A plug-in library imports only system libraries (the compiler's runtime
is linked in) and exports exactly VSTPluginMain and main, one function under
two names. Windows DLLs (32- and 64-bit) are read with objdump -p, Linux
shared libraries with objdump -p (needed libraries) and nm -D (exports)."""
import argparse
import re
import subprocess

import vsthost_run

WINDOWS_ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "ole32.dll",
                   "oleaut32.dll", "shell32.dll", "msvcrt.dll", "advapi32.dll", "comctl32.dll"}
# The C library and the unwinder, which every Linux distribution has; the
# C++ library is linked in, so a host's own libstdc++ can never be the wrong
# one.
LINUX_ALLOWED = {"libc.so.6", "libm.so.6", "libdl.so.2", "libpthread.so.0", "libgcc_s.so.1",
                 "ld-linux-x86-64.so.2"}
# The newest glibc symbol version a library may ask for, so that it loads on
# distributions older than the build machine.
NEWEST_GLIBC = (2, 17)

parser = argparse.ArgumentParser()
parser.add_argument("--objdump", required=True)
parser.add_argument("--nm", help="nm of the same toolchain (Linux libraries)")
parser.add_argument("--dll", required=True)
parser.add_argument("--name", required=True)
args = parser.parse_args()
check = vsthost_run.Checker("imports " + args.name)

with open(args.dll, "rb") as f:
    magic = f.read(4)
dump = subprocess.run([args.objdump, "-p", args.dll], capture_output=True, text=True, check=True).stdout

if magic[:2] == b"MZ":
    imports = [m.group(1) for m in re.finditer(r"DLL Name:\s*(\S+)", dump)]
    check.true("some imports are listed", bool(imports))
    for name in imports:
        lower = name.lower()
        check.true("import %s is a system library" % name,
                   lower in WINDOWS_ALLOWED or lower.startswith("api-ms-win-"))

    # Export table: "[   0] +base[   1] 14d0 Export RVA" rows and the name table.
    addresses = re.findall(r"\+base\[\s*\d+\]\s+([0-9a-fA-F]+)\s+Export RVA", dump)
    names = re.findall(r"^\s*\[\s*\d+\]\s+(\S+)\s*$",
                       dump.split("[Ordinal/Name Pointer] Table", 1)[-1], re.MULTILINE)
elif magic == b"\x7fELF":
    needed = re.findall(r"^\s*NEEDED\s+(\S+)", dump, re.MULTILINE)
    check.true("some needed libraries are listed", bool(needed))
    for name in needed:
        check.true("needed library %s is one every Linux system has" % name, name in LINUX_ALLOWED)
    check.true("no run-time search path is recorded",
               not re.search(r"^\s*(RPATH|RUNPATH)\s", dump, re.MULTILINE))

    # "0000000000001234 T VSTPluginMain" for every exported definition.
    check.true("--nm is given for a Linux library", bool(args.nm))
    symbols = subprocess.run([args.nm or "nm", "-D", "--defined-only", args.dll],
                             capture_output=True, text=True, check=True).stdout
    rows = [line.split() for line in symbols.splitlines() if line.strip()]
    names = [row[-1] for row in rows]
    addresses = [row[0] for row in rows]
    check.true("the exports are functions", all(len(row) == 3 and row[1] == "T" for row in rows))
    undefined = subprocess.run([args.nm or "nm", "-D", "--undefined-only", args.dll],
                               capture_output=True, text=True, check=True).stdout
    for symbol, version in re.findall(r"(\S+)@GLIBC_([0-9.]+)", undefined):
        wanted = tuple(int(part) for part in version.split("."))
        check.true("%s needs glibc %s, newer than %s" % (
            symbol, version, ".".join(map(str, NEWEST_GLIBC))), wanted <= NEWEST_GLIBC)
else:
    check.true("%s is a PE or ELF library (starts %r)" % (args.dll, magic), False)
    names, addresses = [], []

check.equal("exported names", sorted(names), ["VSTPluginMain", "main"])
check.equal("both names point to one function", len(set(addresses)), 1)
check.finish()
