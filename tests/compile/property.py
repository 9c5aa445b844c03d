#!/usr/bin/env python3
"""Property check: a header that compiles holds exactly the program converted.

Generates sources whose comments and unchecked statement text draw from every
printable byte (line splices, trigraphs, comment marks, quotes and commas most
often), converts each, and compiles every header with the size-exact stub
macros as C99 (trigraphs on) and as GNU C99. A header that compiles must have
the printed code size (+1 for an END the frame added); a refused source must
say why. A header that does not compile is the C compiler's to report.
Usage: property.py ZOLVEK PRELUDE_SH SEED COUNT
"""
import os
import random
import string
import subprocess
import sys
import tempfile

zolvek, prelude_script, seed, count = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(seed)
PRINTABLE = string.printable.replace("\n", "").replace("\r", "").replace("\x0b", "").replace("\x0c", "")
PIECES = ["\\", "??/", "/*", "*/", ",", ", 1", "/* , */", " + EP_2", "R\"(", "(", ")", '"', "'", " ", "\t", "\f", "0", "x", "?", "/", "*"]
STATEMENTS = [("LDADDR(0x10", ")"), ("WRREG8(AREG7_0, 1", ")"), ("RDREG16(AREG15_0, 2", ")"),
              ("ADDREGS", ""), ("BCDCONV()", ""), ("REGRD8BI(AREG7_0)", ""), ("REGWR32BI", "")]


def junk(allow_semicolon=False):
    """A few bytes of text that the converter copies without reading it."""
    text = "".join(rng.choice(PIECES) if rng.random() < 0.7 else rng.choice(PRINTABLE)
                   for _ in range(rng.randint(0, 4)))
    text = text.replace("//", "/")
    return text if allow_semicolon else text.replace(";", "")


def comment():
    text = "//" + junk(True)
    return text + rng.choice(["", "\\", "??/", "\\ ", "??/\t"]) if rng.random() < 0.15 else text


def statement():
    head, tail = rng.choice(STATEMENTS)
    # Text after a first parameter, between ')' and ';', or before ';' is not checked.
    if tail and rng.random() < 0.25:
        head += ", " + junk() if head.count(",") else ""
    text = head + tail + (junk() if rng.random() < 0.2 else "")
    return text.rstrip("/") + ";"


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
    """Whether the header compiles, with the size assertion or (None) without it."""
    results = []
    for check in ('_Static_assert(sizeof prog == %d, "size");\n' % size, ""):
        with open(os.path.join(directory, "test.c"), "w") as file:
            file.write('#include "prelude.h"\n#include "prog.h"\n' + check)
        results.append(subprocess.run(["cc", "-std=" + std, "-fsyntax-only", "-w", "-I", directory,
                                       os.path.join(directory, "test.c")],
                                      capture_output=True).returncode == 0)
        if results[0]:
            return True
    return None if results[1] else False


failures = 0
tally = {"converted": 0, "compiled": 0, "refused": 0}
with tempfile.TemporaryDirectory() as directory:
    with open(os.path.join(directory, "prelude.h"), "w") as file:
        subprocess.run(["bash", prelude_script], stdout=file, check=True)
    for number in range(count):
        text = source()
        with open(os.path.join(directory, "prog.ep"), "wb") as file:
            file.write(text.encode("latin-1"))
        run = subprocess.run([zolvek, "prog.ep"], cwd=directory, capture_output=True)
        if run.returncode != 0:
            tally["refused"] += 1
            if b": line " not in run.stderr or os.path.exists(os.path.join(directory, "prog.h")):
                print("refused without a line message, or left a header:\n" + text)
                failures += 1
            continue
        tally["converted"] += 1
        header = open(os.path.join(directory, "prog.h"), encoding="latin-1").read()
        size = int(header.rsplit("// Code Size:  ", 1)[1].split()[0])
        size += 0 if "\nEND;" in "\n" + text else 1
        for std in ("c99", "gnu99"):
            ok = compiles(directory, std, size)
            if ok is None:
                print("-std=%s compiles to another size than %d:\n%s" % (std, size, text))
                failures += 1
            tally["compiled"] += bool(ok)
        os.remove(os.path.join(directory, "prog.h"))
print("%d sources (seed %d): %d converted, %d header compilations, %d refused, %d faults"
      % (count, seed, tally["converted"], tally["compiled"], tally["refused"], failures))
sys.exit(1 if failures else 0)
