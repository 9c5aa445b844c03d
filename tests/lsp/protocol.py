#!/usr/bin/env python3
"""zolvek-lsp as a scripted client sees it: the protocol's errors, the answers
Neovim's test does not ask for, and ranges in UTF-16 units (neovim.lua compares
the diagnostics with the command line's). Usage: protocol.py ZOLVEK_LSP"""
import json
import re
import subprocess
import sys

server = sys.argv[1]
URI = "file:///prog.ep"
TEXT = ("// ORIGIN 0x4000\n// ORIGIN 0x4000x\nLDADDR(0x10); BOGUS;\nREGRD8BI(AREG15_8);  // LABEL patch\n"
        "WRREG8(AREG7_0, 'é€𝄞'); BOGUS;\nWRREG8(XREG, 1);\n")


def frame(message):
    body = message.encode() if isinstance(message, str) else json.dumps(message).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def request(id_, method, params=None):
    return {"jsonrpc": "2.0", "id": id_, "method": method, "params": params or {}}


def notification(method, params=None):
    return {"jsonrpc": "2.0", "method": method, "params": params or {}}


def at(line, character):
    return {"textDocument": {"uri": URI}, "position": {"line": line, "character": character}}


def session(*messages):
    """Runs the server over the messages; its replies by id (None: the
    notifications and id-less errors, in order) and its exit status."""
    data = b"".join(frame(m) for m in messages)
    done = subprocess.run([server], input=data, capture_output=True, timeout=20)
    replies, out = {None: []}, done.stdout
    while out:
        header, _, rest = out.partition(b"\r\n\r\n")
        length = int(re.search(rb"Content-Length: (\d+)", header).group(1))
        reply = json.loads(rest[:length])
        out = rest[length:]
        if reply.get("id") is None:
            replies[None].append(reply)
        else:
            replies[reply["id"]] = reply
    return replies, done.returncode


failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: {got!r}, not {expected!r}")


opened = notification("textDocument/didOpen", {"textDocument": {
    "uri": URI, "languageId": "ep", "version": 1, "text": TEXT}})
replies, status = session(
    request(1, "textDocument/hover", at(2, 0)), request(2, "initialize"),
    notification("initialized"), "{not json", request(3, "zolvek/unknown"),
    notification("zolvek/unknown"), opened,
    request(5, "textDocument/hover", at(3, 11)), request(6, "textDocument/hover", at(1, 3)),
    request(9, "textDocument/documentSymbol", at(0, 0)), request(4, "textDocument/hover", at(3, 25)),
    notification("textDocument/didClose", {"textDocument": {"uri": URI}}),
    request(10, "textDocument/hover", at(2, 2)), request(11, "shutdown"), notification("exit"))
check("before initialize", replies[1]["error"]["code"], -32002)
check("unknown request", replies[3]["error"]["code"], -32601)
check("not JSON", [r["error"]["code"] for r in replies[None] if "error" in r], [-32700])
hover = replies[5]["result"]["contents"]["value"]
check("hover on an indirect statement", (hover.count("\n    0x"), "AREG15_8: bits 15 to 8 of register A" in hover), (10, True))
check("hover on ORIGIN", replies[6]["result"]["contents"]["value"],
      "origin 0x00004000, end 0x00004024, code size 36 bytes, array size 37 bytes")
check("symbols", [s["detail"] for s in replies[9]["result"]][1:],
      ["0x00004000, 4 bytes", "0x00004004, 30 bytes", "offset 34", "0x00004022, 2 bytes"])
check("hover on a label", replies[4]["result"]["contents"]["value"],
      "label patch: offset 34, address 0x00004022")
check("a closed document", replies[10]["error"]["code"], -32602)
check("exit after shutdown", status, 0)

# Columns count UTF-16 units.
published = [r["params"]["diagnostics"] for r in replies[None] if r.get("method") == "textDocument/publishDiagnostics"]
start = len("WRREG8(AREG7_0, 'é€𝄞'); ".encode("utf-16-le")) // 2
check("a statement's range", published[0][2]["range"],
      {"start": {"line": 4, "character": start}, "end": {"line": 4, "character": start + 6}})
check("closed: no diagnostics", published[-1], [])

# Values nested 100,000 deep, as params and as the id: the server answers and
# goes on answering.
deep = "[" * 100000 + "]" * 100000
replies, status = session(request(1, "initialize"), '{"jsonrpc":"2.0","method":"x","params":%s}' % deep,
                          '{"jsonrpc":"2.0","id":%s,"method":"x"}' % deep, request(2, "shutdown"),
                          notification("exit"))
check("deep values", ([r["error"]["code"] for r in replies[None]], status), ([-32600], 0))

# A stream the server cannot follow: it says so (id null) and ends with status 1,
# without waiting for a body of 64 MiB and one byte.
for header, what in ((b"Content-Type: x\r\n\r\n{}", "no Content-Length"),
                     (b"Content-Length: 67108865\r\n\r\n", "over 64 MiB")):
    process = subprocess.Popen([server], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    process.stdin.write(header)
    process.stdin.flush()
    status = process.wait(timeout=10)
    reply = process.stdout.read()
    process.stdin.close()
    check(what, (status, b'"id":null' in reply), (1, True))

print("\n".join(failures) or "the protocol's errors, hover, symbols, ranges, close, shutdown: as expected")
sys.exit(1 if failures else 0)
