#!/usr/bin/env bash
# An interrupted run must not leave a partial header behind. The source comes
# through a FIFO, so the signal reliably lands while the output is open and the
# program waits for more input; the header must then be gone, and the process
# must end with the signal's usual status.
# Usage: interrupt.sh ZOLVEK            (SIGINT, SIGTERM, SIGHUP)
#        interrupt.sh ZOLVEK.exe WINE   (Ctrl-C, as Wine delivers SIGINT to a
#                                        console program; Wine does not pass
#                                        on the exit status of Ctrl-C)
set -euo pipefail
bin=$1
wine=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

signals=(INT TERM HUP)
if [ -n "$wine" ]; then
  signals=(INT)
  export WINEDEBUG=-all
fi
for signal in "${signals[@]}"; do
  rm -f prog.ep prog.h
  mkfifo prog.ep
  env --default-signal="$signal" $wine "$bin" prog.ep >stdout 2>stderr &
  pid=$!
  exec 3>prog.ep
  printf '// ORIGIN 0\n' >&3
  for _ in $(seq 2000); do printf 'LDADDR(0x10); WRREG8(AREG7_0, 1); // some text\n' >&3; done
  for _ in $(seq 100); do [ -e prog.h ] && break; sleep 0.05; done
  [ -e prog.h ] || { echo "SIG$signal: the output was never opened"; exit 1; }
  kill -s "$signal" "$pid"
  status=0
  wait "$pid" || status=$?
  exec 3>&-
  expected=$((128 + $(kill -l "$signal")))
  if [ -z "$wine" ] && [ "$status" != "$expected" ]; then
    echo "SIG$signal: exit status $status, expected $expected"
    cat stderr
    exit 1
  fi
  if [ -e prog.h ]; then
    echo "SIG$signal: prog.h was left behind"
    exit 1
  fi
  echo "SIG$signal: ended with status $status, no header left"
done
