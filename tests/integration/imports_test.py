"""A plug-in library imports only Windows system libraries (the compiler's
runtime is linked in) and exports exactly VSTPluginMain and main, one
function under two names."""
import argparse
import re
import subprocess

import vsthost_run

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "ole32.dll", "oleaut32.dll",
           "shell32.dll", "msvcrt.dll", "advapi32.dll", "comctl32.dll"}

parser = argparse.ArgumentParser()
parser.add_argument("--objdump", required=True)
parser.add_argument("--dll", required=True)
parser.add_argument("--name", required=True)
args = parser.parse_args()
check = vsthost_run.Checker("imports " + args.name)

dump = subprocess.run([args.objdump, "-p", args.dll], capture_output=True, text=True, check=True).stdout
imports = [m.group(1) for m in re.finditer(r"DLL Name:\s*(\S+)", dump)]
check.true("some imports are listed", bool(imports))
for name in imports:
    lower = name.lower()
    check.true("import %s is a system library" % name,
               lower in ALLOWED or lower.startswith("api-ms-win-"))

# Export table: "[   0] +base[   1] 14d0 Export RVA" rows and the name table.
rvas = re.findall(r"\+base\[\s*\d+\]\s+([0-9a-fA-F]+)\s+Export RVA", dump)
names = re.findall(r"^\s*\[\s*\d+\]\s+(\S+)\s*$", dump.split("[Ordinal/Name Pointer] Table", 1)[-1],
                   re.MULTILINE)
check.equal("exported names", sorted(names), ["VSTPluginMain", "main"])
check.equal("both names point to one function", len(set(rvas)), 1)
check.finish()
