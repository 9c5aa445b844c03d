#!/usr/bin/env python3
"""How fast zolvek-lsp answers an edit: opens a 10,000-line document, changes it
100 times (a line typed in the middle, each time a different character), and
prints the time from each change to its diagnostics, as an editor waits for them.
Usage: bench/lsp.py BUILD_DIR   (build zolvek-lsp first)"""
import json
import os
import statistics
import subprocess
import sys
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build"
root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
source = subprocess.run(["awk", "-v", "lines=10000", "-v", "crlf=0", "-f",
                         os.path.join(root, "bench", "generate.awk")],
                        capture_output=True, text=True, check=True).stdout
lines = source.split("\n")
server = subprocess.Popen([os.path.join(build, "zolvek-lsp")], stdin=subprocess.PIPE,
                          stdout=subprocess.PIPE)


def send(message):
    body = json.dumps(message).encode()
    server.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    server.stdin.flush()


def receive():
    length = 0
    while (line := server.stdout.readline().strip()):
        if line.lower().startswith(b"content-length:"):
            length = int(line.split(b":")[1])
    return json.loads(server.stdout.read(length))


def diagnostics_after(message):
    start = time.perf_counter()
    send(message)
    while receive().get("method") != "textDocument/publishDiagnostics":
        pass
    return time.perf_counter() - start


send({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {}})
receive()
uri = "file:///bench.ep"
diagnostics_after({"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {
    "textDocument": {"uri": uri, "languageId": "ep", "version": 1, "text": source}}})
times = []
for version in range(2, 102):
    lines[5000] = "    LDADDR(0x%X);" % version
    times.append(diagnostics_after({"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
        "textDocument": {"uri": uri, "version": version},
        "contentChanges": [{"text": "\n".join(lines)}]}}))
send({"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
receive()
send({"jsonrpc": "2.0", "method": "exit"})
server.wait()
print("%d lines (%d KB): an edit's diagnostics in %.2f ms median, %.2f ms at worst (100 edits)"
      % (len(lines), len(source) // 1000, 1000 * statistics.median(times), 1000 * max(times)))
