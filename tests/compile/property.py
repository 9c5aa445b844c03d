#!/usr/bin/env python3
"""Property check: a header that compiles holds exactly the program converted.

Sources whose comments and unchecked statement text are full of line splices,
trigraphs, comment marks, quotes, commas and macro names are converted, and every
header is compiled with the size-exact macros as C99 (trigraphs on) and GNU C99:
one that compiles must have the printed code size; a refused source must say why.
Usage: property.py ZOLVEK PRELUDE_SH SEED COUNT
"""
import os
import random
import string
import subprocess
import sys
import tempfile

zolvek, prelude, seed, count = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(seed)
PRINTABLE = [c for c in string.printable if c not in "\n\r\x0b\x0c"]
PIECES = ["\\", "??/", "/*", "*/", ",", ", 1", "/* , */", " + EP_2", 'R"(', "(", ")", '"', "'", " ", "\t",
          "\f", "0", "x", "?", "/", "*"]
STATEMENTS = ["LDADDR(0x10)", "WRREG8(AREG7_0, 1)", "RDREG16(AREG15_0, 2)", "ADDREGS", "BCDCONV()",
              "REGRD8BI(AREG7_0)", "REGWR32BI"]


def junk(semicolons=False):
    """A few bytes of text that the converter copies without reading it."""
    text = "".join(rng.choice(PIECES if rng.random() < 0.7 else PRINTABLE) for _ in range(rng.randint(0, 4)))
    return text.replace("//", "/") if semicolons else text.replace("//", "/").replace(";", "")


def comment():
    return "//" + junk(True) + (rng.choice(["\\", "??/", "\\ ", "??/\t"]) if rng.random() < 0.15 else "")


def statement():
    text = rng.choice(STATEMENTS)
    if text.count(",") and rng.random() < 0.25:  # text after a first parameter
        text = text[:-1] + ", " + junk() + ")"
    return (text + (junk() if rng.random() < 0.2 else "")).rstrip("/") + ";"


def source():
    lines = ["// ORIGIN 0x100"] + [comment() for _ in range(rng.randint(0, 2))]
    for _ in range(rng.randint(1, 6)):
        kind = rng.random()
        if kind < 0.15:
            lines.append(rng.choice(["", " ", "\t"]))
        elif kind < 0.3:
            lines.append(comment())
        else:
            line = " ".join(statement() for _ in range(rng.randint(1, 2)))
            lines.append(line + (" " + comment() if rng.random() < 0.4 else ""))
    if rng.random() < 0.3:
        lines.append("END;" + (" " + comment() if rng.random() < 0.5 else ""))
    return "\n".join(lines) + ("\n" if rng.random() < 0.7 else "")


def compiles(directory, std, size):
    """True or False; None when only the size assertion fails: another program."""
    results = []
    for check in ('_Static_assert(sizeof prog == %d, "size");\n' % size, ""):
        with open(os.path.join(directory, "test.c"), "w") as file:
            file.write('#include "prelude.h"\n#include "prog.h"\n' + check)
        command = ["cc", "-std=" + std, "-fsyntax-only", "-w", "-I", directory, file.name]
        results.append(subprocess.run(command, capture_output=True).returncode == 0)
        if results[0]:
            return True
    return None if results[1] else False


faults = converted = compiled = 0
with tempfile.TemporaryDirectory() as directory:
    with open(os.path.join(directory, "prelude.h"), "w") as file:
        subprocess.run(["bash", prelude], stdout=file, check=True)
    header = os.path.join(directory, "prog.h")
    for _ in range(count):
        text = source()
        with open(os.path.join(directory, "prog.ep"), "wb") as file:
            file.write(text.encode("latin-1"))
        run = subprocess.run([zolvek, "prog.ep"], cwd=directory, capture_output=True)
        if run.returncode != 0:
            if b": line " not in run.stderr or os.path.exists(header):
                print("refused without a line message, or left a header:\n" + text)
                faults += 1
            continue
        converted += 1
        size = int(open(header, encoding="latin-1").read().rsplit("// Code Size:  ", 1)[1].split()[0])
        size += 0 if "\nEND;" in "\n" + text else 1  # the END the frame adds
        for std in ("c99", "gnu99"):
            ok = compiles(directory, std, size)
            if ok is None:
                print("-std=%s compiles to another size than %d:\n%s" % (std, size, text))
                faults += 1
            compiled += bool(ok)
        os.remove(header)
print("%d sources (seed %d): %d converted, %d header compilations, %d refused, %d faults"
      % (count, seed, converted, compiled, count - converted, faults))
sys.exit(1 if faults else 0)
