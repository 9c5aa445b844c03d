#!/usr/bin/env bash
# A stopped or failing run never leaves a partial header, nor a stale one. The
# source comes through a FIFO, so a signal lands while the output is being
# written and the program waits for more input.
# Usage: interrupt.sh ZOLVEK            (signals, closed pipe, file-size limit)
#        interrupt.sh ZOLVEK.exe WINE   (Ctrl-C, as Wine delivers SIGINT to a
#                                        console program; Wine does not pass
#                                        on the exit status of Ctrl-C)
set -euo pipefail
bin=$(realpath "$1")
wine=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$*"; cat stderr 2>/dev/null; exit 1; }
lines() { for _ in $(seq "$1"); do printf 'LDADDR(0x10); WRREG8(AREG7_0, 1); // some text\n'; done; }

signals=(INT TERM HUP QUIT USR1 ALRM)
if [ -n "$wine" ]; then
  signals=(INT)
  export WINEDEBUG=-all
fi
for signal in "${signals[@]}"; do
  rm -f prog.ep
  echo "old header" >prog.h
  mkfifo prog.ep
  env --default-signal="$signal" $wine "$bin" prog.ep >stdout 2>stderr &
  pid=$!
  exec 3>prog.ep
  { printf '// ORIGIN 0\n' && lines 2000; } >&3
  for _ in $(seq 100); do compgen -G '.prog.h.zolvek-*' >/dev/null && break; sleep 0.05; done
  compgen -G '.prog.h.zolvek-*' >/dev/null || fail "SIG$signal: no temporary file was written"
  [ "$(cat prog.h)" = "old header" ] || fail "SIG$signal: prog.h changed before the run ended"
  kill -s "$signal" "$pid"
  status=0
  wait "$pid" || status=$?
  exec 3>&-
  [ -n "$wine" ] || [ "$status" = $((128 + $(kill -l "$signal"))) ] || fail "SIG$signal: exit status $status"
  [ -z "$(ls -A | grep -v '^std\|^prog.ep$')" ] || fail "SIG$signal: left $(ls -A)"
  echo "SIG$signal: ended with status $status, nothing left"
done
[ -z "$wine" ] || exit 0

# A reader of standard error that quits, and a file-size limit, make writes fail:
# the run fails like any other, and leaves no header.
rm -f prog.ep
{ echo '// ORIGIN 0' && for _ in $(seq 20000); do echo 'bad;'; done; } >prog.ep
status=0
"$bin" prog.ep 2>&1 >/dev/null | head -n1 >/dev/null || status=${PIPESTATUS[0]}
[ "$status" = 1 ] || fail "closed stderr pipe: exit status $status"
{ echo '// ORIGIN 0' && lines 5000; } >prog.ep
status=0
(ulimit -f 100 && exec "$bin" prog.ep) >stdout 2>stderr || status=$?
[ "$status" = 1 ] && grep -q "error writing output file 'prog.h'" stderr || fail "ulimit -f: status $status"
[ -z "$(ls -A | grep -v '^std\|^prog.ep$')" ] || fail "after a failed write: left $(ls -A)"
echo "closed stderr pipe and file-size limit: status 1, nothing left"

# With the standard streams closed, the header must not take their place.
echo '// ORIGIN 0' >my-prog.ep
"$bin" my-prog.ep <&- >&- 2>&- || fail "closed standard streams: exit status $?"
! grep -q warning my-prog.h || fail "closed standard streams: a diagnostic went into the header"
echo "closed standard streams: the header holds no diagnostic"
