#!/usr/bin/env bash
# An interrupted run must not leave a partial header behind. The source comes
# through a FIFO, so the signal reliably lands while the output is open and the
# program waits for more input; the process must then end with the signal's
# usual status and the header must be gone.
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

for signal in INT TERM HUP; do
  rm -f prog.ep prog.h
  mkfifo prog.ep
  env --default-signal="$signal" "$bin" prog.ep >stdout 2>stderr &
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
  if [ "$status" != "$expected" ]; then
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
