#!/usr/bin/env bash
# A stopped or failing run never leaves a partial header or listing, nor a stale one. The
# source comes through a FIFO, so a signal lands while the output is being
# written and the program waits for more input.
# Usage: interrupt.sh ZOLVEK                 (signals, closed pipe, file-size limit)
#        interrupt.sh ZOLVEK.exe WINE HOLD   (Ctrl-C, as Wine delivers SIGINT to a
#          console program, whose exit status Wine does not pass on; a header held
#          open by a reader; TerminateProcess, as Wine ends a SIGKILLed program)
set -euo pipefail
bin=$(realpath "$1")
wine=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$*"; cat stderr 2>/dev/null; exit 1; }
trap 'echo "interrupt.sh: line $LINENO failed"; cat stderr 2>/dev/null' ERR
await_temp() {
  for _ in $(seq 100); do compgen -G '.prog.h.zolvek-*' >/dev/null && return; sleep 0.05; done
  fail "$1: no temporary file was written"
}
old_header='const uint8_t old[] = {'
old_listing='      line   address  size  source'
old_declarations='/* Declarations of old, written by Zolvek */'
lines() { for _ in $(seq "$1"); do printf 'LDADDR(0x10); WRREG8(AREG7_0, 1); // some text\n'; done; }

signals=(INT TERM HUP QUIT USR1 ALRM)
[ -z "$wine" ] || signals=(INT)
for signal in "${signals[@]}"; do
  rm -f prog.ep
  echo "$old_header" >prog.h
  echo "$old_listing" >prog.lst
  echo "$old_declarations" >prog_decl.h
  mkfifo prog.ep
  env --default-signal="$signal" $wine "$bin" --listing prog.lst --declarations prog_decl.h prog.ep \
    >stdout 2>stderr &
  pid=$!
  exec 3>prog.ep
  { printf '// ORIGIN 0\n' && lines 2000; } >&3
  await_temp "SIG$signal"
  [ "$(cat prog.h prog.lst prog_decl.h)" = "$old_header
$old_listing
$old_declarations" ] || fail "SIG$signal: an output changed before the run ended"
  kill -s "$signal" "$pid"
  status=0
  wait "$pid" || status=$?
  exec 3>&-
  [ -n "$wine" ] || [ "$status" = $((128 + $(kill -l "$signal"))) ] || fail "SIG$signal: exit status $status"
  [ -z "$(ls -A | grep -v '^std\|^prog.ep$')" ] || fail "SIG$signal: left $(ls -A)"
  echo "SIG$signal: ended with status $status, nothing left"
done

if [ -n "$wine" ]; then
  { echo '// ORIGIN 0' && lines 200; } >good.ep
  printf '// ORIGIN 0\nBOGUS;\n' >bad.ep
  # A reader holds the header: no run may report success, nor leave a partial one.
  echo "$old_header" >prog.h
  exec 4> >(exec $wine "$3" prog.h >held)
  for _ in $(seq 100); do grep -q holding held 2>/dev/null && break; sleep 0.1; done
  status=0
  $wine "$bin" -o prog.h bad.ep >stdout 2>stderr || status=$?
  [ $status = 1 ] && grep -q "unable to delete output file 'prog.h'" stderr || fail "held, failing: $status"
  $wine "$bin" -o prog.h good.ep >stdout 2>stderr || status=$?
  [ $status = 1 ] && grep -q "error writing output file 'prog.h'" stderr || fail "held, succeeding: status $status"
  mkfifo held.ep
  $wine "$bin" -o prog.h held.ep >stdout 2>stderr &
  pid=$!
  exec 3>held.ep
  head -n 100 good.ep >&3
  await_temp "held, Ctrl-C"
  kill -INT $pid
  wait $pid || true
  exec 3>&-
  [ "$(cat prog.h)" = "$old_header" ] || fail "the held header changed"
  [ -z "$(ls -A | grep '^[.]prog')" ] || fail "held, Ctrl-C: left $(ls -A)"
  exec 4>&-
  echo "header held by a reader: failing, succeeding and Ctrl-C'd runs leave it unchanged"
  # SIGKILL, as TerminateProcess, mid-run over an old header: neither survives.
  rm -f prog.ep && mkfifo prog.ep && echo "$old_header" >prog.h
  $wine "$bin" prog.ep >stdout 2>stderr &
  pid=$!
  exec 3>prog.ep
  head -n 100 good.ep >&3
  await_temp "SIGKILL"
  kill -9 $pid
  wait $pid || true
  exec 3>&-
  # Wine closes a killed program's files a moment after its end, all at once.
  for _ in $(seq 100); do compgen -G '.prog.h.zolvek-*' >/dev/null || break; sleep 0.05; done
  [ -z "$(ls -A | grep '^[.]prog\|^prog.h$' || true)" ] || fail "SIGKILL: left $(ls -A)"
  echo "TerminateProcess mid-run: no header, old or partial, and no temporary file"
  # Held inside the commit by the program's test hook: Ctrl-C lets the commit
  # complete; TerminateProcess leaves the earlier header (and the temporary file).
  for signal in INT KILL; do
    echo "$old_header" >prog.h
    ZOLVEK_TEST_COMMIT_FILE=committing $wine "$bin" -o prog.h good.ep >stdout 2>stderr &
    pid=$!
    for _ in $(seq 500); do [ -e committing ] && break; sleep 0.02; done
    kill -s $signal $pid
    [ $signal = KILL ] || rm committing
    wait $pid || true
    rm -f committing
    expected="Code Size:" && [ $signal = INT ] || expected="$old_header"
    for _ in $(seq 100); do grep -qF "$expected" prog.h 2>/dev/null && break; sleep 0.05; done
    grep -qF "$expected" prog.h || fail "SIG$signal inside the commit: $(cat prog.h)"
    [ $signal = KILL ] || [ -z "$(ls -A | grep '^[.]prog')" ] || fail "Ctrl-C in the commit: left $(ls -A)"
    rm -f .prog.h.zolvek-*
  done
  echo "Ctrl-C inside the commit: the new header; TerminateProcess: the earlier one"
  # Ctrl-C while held between the header's and the listing's commit waits for both.
  ZOLVEK_TEST_COMMIT_FILE=committing $wine "$bin" --listing prog.lst -o prog.h good.ep >stdout 2>stderr &
  pid=$!
  for _ in $(seq 500); do [ -e committing ] && break; sleep 0.02; done
  kill -INT $pid && rm committing || fail "never held between the commits"
  wait $pid || true
  grep -q "Code Size:" prog.h && grep -q "^array size" prog.lst || fail "Ctrl-C between the commits"
  echo "Ctrl-C between the commits: the new header and listing"

  # An unpaired surrogate in an argument would name another file.
  status=0 && $wine "$3" --surrogate "$bin" >stdout 2>stderr || status=$?
  [ $status = 1 ] && grep -q "argument 2 is not valid Unicode" stderr || fail "surrogate: $status"
  echo "an argument that is not valid Unicode: refused"
  exit 0
fi

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

# A signal before the output stage leaves everything as it was; one while the
# summary blocks (before the commit) deletes both headers; one held between the
# header's and the listing's commit waits for both. Each waits until the run is
# blocked there.
await_blocked() { # PID WCHAN-PATTERN
  # shellcheck disable=SC2053 # $2 is a pattern
  for _ in $(seq 500); do [[ "$(cat "/proc/$1/wchan" 2>/dev/null)" == $2 ]] && return; sleep 0.01; done
  fail "the run never blocked in $2"
}
rm -f prog.ep && mkfifo prog.ep && echo "$old_header" >prog.h
"$bin" prog.ep >stdout 2>stderr &
pid=$!
await_blocked $pid wait_for_partner # opening the input FIFO
kill -TERM $pid && status=0 && wait $pid || status=$?
[ $status = 143 ] && [ "$(cat prog.h)" = "$old_header" ] || fail "SIGTERM while opening: $status, $(ls -A)"
rm -f prog.ep && printf '// ORIGIN 0\nADDREGS;\n' >prog.ep && mkfifo full
exec 5<>full # standard output is a pipe, filled so the banner fits and the summary blocks
banner=$("$bin" --help | head -n 5 | wc -c)
head -c $((65536 - banner)) /dev/zero >&5
"$bin" prog.ep >full 2>stderr &
pid=$!
await_blocked $pid '*pipe_write'
kill -TERM $pid && status=0 && wait $pid || status=$?
exec 5>&-
[ $status = 143 ] && [ -z "$(ls -A | grep '^[.]*prog[.]h')" ] || fail "SIGTERM in the summary: $status, $(ls -A)"
echo "$old_header" >prog.h
ZOLVEK_TEST_COMMIT_FILE=committing "$bin" --listing prog.lst prog.ep >stdout 2>stderr &
pid=$!
for _ in $(seq 500); do [ -e committing ] && break; sleep 0.01; done
kill -TERM $pid && rm committing && status=0 && wait $pid || status=$?
[ $status = 143 ] && grep -q "Code Size:  1 bytes" prog.h && grep -q "^array size  2 bytes" prog.lst ||
  fail "SIGTERM between the commits: $status, $(ls -A)"
echo "SIGTERM while the input opens: the earlier header stays; in the summary: neither; between the commits: both new"
