#!/usr/bin/env python3
"""Property check, usage: property.py ZOLVEK PRELUDE_SH SEED COUNT FLOOR. Sources full of
line splices, trigraphs, digit separators, comment marks, quotes, form feeds, commas
and macro names are converted (half with #line directives). A refused source must say
why; a converted one's listing must add up, and its header, compiled and run as C99,
GNU C11, C2x and C++17 with the README's macros made to give a marker byte per
mnemonic and its first parameter's low byte, must hold the listing's instructions
byte for byte, or not compile; and a FLOOR share of the sources must compile in all."""
import os, random, re, string, subprocess, sys, tempfile  # noqa: E401

zolvek, prelude = os.path.abspath(sys.argv[1]), sys.argv[2]
seed, count, floor = int(sys.argv[3]), int(sys.argv[4]), float(sys.argv[5])
rng = random.Random(seed)
ORIGIN = 0xFFFFFFF0  # near the top, so that addresses wrap
PRINTABLE = [c for c in string.printable if c not in "\n\r\x0b\x0c"]
PIECES = ["\\", "/*", "*/", ",", ", 1", "/* , */", " + EP_2", 'R"(', "(", ")", '"', "'", " ", "\t", "\f",
          "\v", "0", "x", "?", "/", "*", "1'0", "0x1'0", ", (1'0)", "'0)"] + ["??" + c for c in "=(/)'<!>-"]
STATEMENTS = ["LDADDR(0x10)", "LDADDR(0x1'0)", "WRREG8(AREG7_0, 1)", "RDREG16(AREG15_0, 2)", "ADDREGS",
              "BCDCONV()", "REGRD8BI(AREG7_0)", "REGWR32BI", "LDAREG32(1'000'000)", "ADDA(1'2)"]
REGISTERS = ("AREG7_0 AREG15_8 AREG23_16 AREG31_24 BREG7_0 BREG15_8 BREG23_16 BREG31_24 AREG31_16 "
             "AREG15_0 AREG31_0").split()
MODES = [("gcc", "c99"), ("gcc", "gnu11"), ("gcc", "c2x"), ("g++", "c++17")]
PAD = 0xEE  # the bytes of an instruction after its first parameter's
SHOW = ('#include <stdio.h>\n#include "prelude.h"\n#include "%(n)s.h"\n'
        '__attribute__((constructor)) static void show(void) {\n'
        '  printf("%(n)s %%u %%u", %(N)s_ORIGIN, %(N)s_CODE_SIZE);\n'
        '  for (size_t i = 0; i < sizeof %(n)s; ++i) printf(" %%u", %(n)s[i]);\n  puts("");\n}\n')


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
    if rng.random() < 0.15:  # a second call before the ';'
        text += rng.choice([", ", " + "]) + rng.choice(STATEMENTS)
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


def byte_macros(text):
    """The README's macros, each mnemonic's made to give its marker (0x80 on, in
    the README's order), its first parameter's low byte and then PAD; the markers."""
    markers = {}

    def exact(match):
        name, params, first, size, rest = match.groups()
        markers[name] = 0x80 + len(markers)
        values = [str(markers[name])] + (["(%s) & 255" % first] if first and int(size) > 1 else [])
        values += [str(PAD)] * (int(size) - len(values))
        return "#define %s%s %s%s" % (name, params or "", ", ".join(values), rest)
    text = re.sub(r"(?m)^#define ([A-Z0-9]+)(\((\w+)[^)]*\))? EP_(\d+)(.*)$", exact, text)
    return text + "enum { %s };\n" % ", ".join(REGISTERS), markers


def listing_faults(listing, header, size, markers):
    """What is wrong with a successful run's listing, or ''; and the bytes it
    names, None where the first parameter is no number or register."""
    rows = [(line[:10].strip(), line[12:20].strip(), line[22:26].strip(), line[28:])
            for line in listing.split("\n")[1:] if line[:1] == " "]
    address, total, expansion, expected = ORIGIN, 0, [], []
    for line, at, row_size, text in rows:
        if at and line != "added":
            if int(at, 16) != address:
                return "row at %s, expected %08X" % (at, address), []
            if line:
                total += int(row_size)
            if not line or row_size != "30":  # an indirect statement's own row spans its block
                address = (address + int(row_size)) % 2**32
            if not line:
                expansion.append(text)
        if at and (line == "added" or row_size != "30"):
            name, first = re.match(r"([A-Z0-9_]+)\s*(?:\(\s*([^,)]*?)\s*[,)])?", text).groups()
            try:
                value = REGISTERS.index(first) if first in REGISTERS else int(first.replace("'", ""), 0) & 255
            except (AttributeError, ValueError):
                value = None
            expected += ([markers[name], value] + [PAD] * 12)[:int(row_size)]
    lines = [line for line in header.split("\n") if not line.startswith("#line")]
    blocks = sum((lines[i + 1:i + 11] for i, line in enumerate(lines) if line.endswith(") expansion")), [])
    if total != size or expansion != blocks:
        return "sizes add up to %d of %d, or expansion rows differ from the header" % (total, size), []
    return "", expected


def compile_and_run(directory, compiler, std, names):
    """{name: the numbers it prints} for the headers that compile: one compiler run
    takes them all, and a header that fails leaves no object."""
    mode = os.path.join(directory, compiler + std)
    os.mkdir(mode)
    units = [name + (".cpp" if compiler == "g++" else ".c") for name in names]
    for name, unit in zip(names, units):
        with open(os.path.join(mode, unit), "w") as file:
            file.write(SHOW % {"n": name, "N": name.upper()})
    subprocess.run([compiler, "-std=" + std, "-w", "-c", "-I", directory] + units, cwd=mode, capture_output=True)
    objects = [name + ".o" for name in names if os.path.exists(os.path.join(mode, name + ".o"))]
    subprocess.run([compiler, "-o", "run", "-x", "c", "-", "-x", "none"] + objects, cwd=mode, check=True,
                   input="int main(void) { return 0; }", text=True)
    output = subprocess.run([os.path.join(mode, "run")], capture_output=True, text=True, check=True).stdout
    return {line.split()[0]: [int(n) for n in line.split()[1:]] for line in output.splitlines()}


faults, expected, sources, compiled = 0, {}, {}, []
with tempfile.TemporaryDirectory() as directory:
    macros, markers = byte_macros(subprocess.run(["bash", prelude], capture_output=True, text=True,
                                                 check=True).stdout)
    with open(os.path.join(directory, "prelude.h"), "w") as file:
        file.write(macros)
    for index in range(count):
        name = "p%d" % index
        sources[name] = text = source()
        with open(os.path.join(directory, name + ".ep"), "wb") as file:
            file.write(text.encode("latin-1"))
        run = subprocess.run([zolvek, "--defines", "--listing", name + ".lst", name + ".ep"] +
                             (["--line-directives"] if rng.random() < 0.5 else []), cwd=directory, capture_output=True)
        if run.returncode != 0:
            if b": line " not in run.stderr or os.path.exists(os.path.join(directory, name + ".h")):
                print("refused without a line message, or left a header:\n" + text)
                faults += 1
            continue
        content = open(os.path.join(directory, name + ".h"), encoding="latin-1").read()
        size = int(content.rsplit("// Code Size:  ", 1)[1].split()[0])
        fault, program = listing_faults(open(os.path.join(directory, name + ".lst"), encoding="latin-1").read(),
                                        content, size, markers)
        if fault:
            print("listing: %s:\n%s" % (fault, text))
            faults += 1
        else:
            expected[name] = [ORIGIN, size] + program
    everywhere = set(expected)
    for compiler, std in MODES:
        shown = compile_and_run(directory, compiler, std, sorted(expected))
        everywhere &= set(shown)
        for name, numbers in sorted(shown.items()):
            if len(numbers) != len(expected[name]) or any(w not in (None, n) for w, n in zip(expected[name], numbers)):
                print("-std=%s compiles another program (origin, code size, bytes):\n  %s\n  %s\n%s"
                      % (std, numbers, expected[name], sources[name]))
                faults += 1
        compiled.append("%s %d" % (std, len(shown)))
print("%d sources (seed %d): %d converted, %d refused; compiled and run %s; %d in every mode (%d wanted); %d faults"
      % (count, seed, len(expected), count - len(expected), ", ".join(compiled), len(everywhere), floor * count,
         faults))
sys.exit(1 if faults or len(everywhere) < floor * count else 0)
