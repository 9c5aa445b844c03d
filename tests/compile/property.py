#!/usr/bin/env python3
"""Property check, usage: property.py ZOLVEK PRELUDE_SH SEED COUNT. Sources full of
line splices, trigraphs, comment marks, quotes, commas and macro names are
converted (half with #line directives); a header that compiles as C99 or GNU C99
with the size-exact macros must hold the code size and origin its macros give, a
refused source must say why, and the listing must add up and show the blocks."""
import os, random, string, subprocess, sys, tempfile  # noqa: E401

zolvek, prelude, seed, count = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(seed)
ORIGIN = 0xFFFFFFF0  # near the top, so that addresses wrap
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
    lines = ["// ORIGIN 0x%X" % ORIGIN] + [comment() for _ in range(rng.randint(0, 2))]
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


def compiles(directory, std, added):
    """True or False; None when only the assertion fails: another program."""
    results = []
    check = '_Static_assert(sizeof prog == PROG_CODE_SIZE + %d && PROG_ORIGIN == %du, "");\n'
    for check in (check % (added, ORIGIN), ""):
        with open(os.path.join(directory, "test.c"), "w") as file:
            file.write('#include "prelude.h"\n#include "prog.h"\n' + check)
        command = ["cc", "-std=" + std, "-fsyntax-only", "-w", "-I", directory, file.name]
        results.append(subprocess.run(command, capture_output=True).returncode == 0)
        if results[0]:
            return True
    return None if results[1] else False


def listing_faults(listing, header, size):
    """What is wrong with a successful run's listing, or ''."""
    rows = [(line[:10].strip(), line[12:20].strip(), line[22:26].strip(), line[28:])
            for line in listing.split("\n")[1:] if line[:1] == " "]
    address, total, expansion = ORIGIN, 0, []
    for line, at, row_size, text in rows:
        if at and line != "added":
            if int(at, 16) != address:
                return "row at %s, expected %08X" % (at, address)
            if line:
                total += int(row_size)
            if not line or row_size != "30":  # an indirect statement's own row spans its block
                address = (address + int(row_size)) % 2**32
            if not line:
                expansion.append(text)
    lines = [line for line in header.split("\n") if not line.startswith("#line")]
    blocks = sum((lines[i + 1:i + 11] for i, line in enumerate(lines) if line.endswith(") expansion")), [])
    if total != size or expansion != blocks:
        return "sizes add up to %d of %d, or expansion rows differ from the header" % (total, size)
    return ""


faults = converted = compiled = 0
with tempfile.TemporaryDirectory() as directory:
    with open(os.path.join(directory, "prelude.h"), "w") as file:
        subprocess.run(["bash", prelude], stdout=file, check=True)
    header = os.path.join(directory, "prog.h")
    for _ in range(count):
        text = source()
        with open(os.path.join(directory, "prog.ep"), "wb") as file:
            file.write(text.encode("latin-1"))
        options = ["--line-directives"] if rng.random() < 0.5 else []
        run = subprocess.run([zolvek, "--defines", "--listing", "prog.lst", "prog.ep"] + options,
                             cwd=directory, capture_output=True)
        if run.returncode != 0:
            if b": line " not in run.stderr or os.path.exists(header):
                print("refused without a line message, or left a header:\n" + text)
                faults += 1
            continue
        converted += 1
        content = open(header, encoding="latin-1").read()
        size = int(content.rsplit("// Code Size:  ", 1)[1].split()[0])
        added = 0 if "\nEND;" in "\n" + text else 1  # the END the frame adds
        fault = listing_faults(open(os.path.join(directory, "prog.lst"), encoding="latin-1").read(),
                               content, size)
        if fault:
            print("listing: %s:\n%s" % (fault, text))
            faults += 1
        for std in ("c99", "gnu99"):
            ok = compiles(directory, std, added)
            if ok is None:
                print("-std=%s compiles to another program than %d bytes at 0x%X:\n%s"
                      % (std, size, ORIGIN, text))
                faults += 1
            compiled += bool(ok)
        os.remove(header)
print("%d sources (seed %d): %d converted, %d header compilations, %d refused, %d faults"
      % (count, seed, converted, compiled, count - converted, faults))
sys.exit(1 if faults else 0)
