#!/usr/bin/env bash
# What a name means on Windows, under Wine: a link whose target differs only in
# letter case keeps its target; a drive's root and an 8.3 short name are the
# files they name, so no stale header survives there; two runs on one header
# both succeed; reserved device names are never opened; long and non-ASCII names
# are written as on Linux.
# Usage: names.sh ZOLVEK.exe WINE HOLD.exe, with WINEPREFIX the tests' own prefix,
# where the drive Y: is mapped to this script's scratch directory while it runs.
set -euo pipefail
bin=$(realpath "$1")
wine=$2
hold=$(realpath "$3")
work=$(mktemp -d)
drive="$WINEPREFIX/dosdevices/y:"
trap 'rm -f "$drive"; rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$*"; cat stderr 2>/dev/null; exit 1; }
[ -c /dev/null ] || fail "/dev/null is no character device before the test"
[ ! -e "$drive" ] || fail "the prefix maps Y: already"
program="Z:${bin//\//\\}"
old_header='const uint8_t old[] = {'
old_listing='      line   address  size  source'
source_of() { # LINES: a source of that many lines after its ORIGIN
  awk -v n="$1" 'BEGIN { print "// ORIGIN 0"; for (; n > 0; n--) print "LDADDR(0x10); WRREG8(AREG7_0, 1); // some text" }'
}
source_of 200 >good.ep
printf '// ORIGIN 0\nBOGUS;\n' >bad.ep
run() { status=0 && $wine "$bin" -q "$@" >stdout 2>stderr || status=$?; }
temporaries() { find . -name '*.zolvek-*'; }
# Wine closes a killed program's files a moment after its end; all of them at
# once, so the temporary files going shows that the others went too.
await_cleanup() { for _ in $(seq 100); do [ -n "$(temporaries)" ] || break; sleep 0.05; done; }
# Runs with a source that arrives slowly and ends it as TerminateProcess does,
# once its temporary files are written.
run_killed() {
  rm -f slow.ep && mkfifo slow.ep
  $wine "$bin" -q "$@" slow.ep >stdout 2>stderr &
  local pid=$!
  exec 3>slow.ep
  head -n 100 good.ep >&3
  for _ in $(seq 100); do [ -z "$(temporaries)" ] || break; sleep 0.05; done
  [ -n "$(temporaries)" ] || fail "$*: no temporary file was written"
  kill -9 $pid
  wait $pid || true
  exec 3>&-
  await_cleanup
}
# Ends a run over the old file in one of three ways.
end_run() { # ENDING OPTION NAME
  case $1 in
    written) run "$2" "$3" good.ep && [ $status = 0 ] || fail "$2 $3: status $status" ;;
    failed) run "$2" "$3" bad.ep && [ $status = 1 ] || fail "$2 $3, failed: status $status" ;;
    killed) run_killed "$2" "$3" ;;
  esac
}

# The runs over the file that NAME stands for (made by SETUP), as header and as
# listing: written, it holds the new text; failed or killed, it keeps its old
# bytes where a link leads to it (FATE kept, and the link stays), or is gone.
check_name() { # NAME FILE FATE SETUP
  local option old ending
  for option in -o --listing; do
    old=$old_header && [ $option = -o ] || old=$old_listing
    for ending in written failed killed; do
      eval "$4" && echo "$old" >"$2"
      end_run $ending $option "$1"
      case $ending$option in
        written*) grep -q -e 'Code Size' -e '^array size' "$2" ;;
        failed--listing) grep -q BOGUS "$2" ;; # the listing of a failed translation
        *) if [ "$3" = kept ]; then [ "$(cat "$2")" = "$old" ]; else [ ! -e "$2" ]; fi ;;
      esac || fail "$option $1, $ending: $2 holds $(cat "$2" 2>/dev/null)"
      [ "$3" != kept ] || [ -L "$1" ] || fail "$option $1, $ending: the link was replaced"
      [ -z "$(temporaries)" ] || fail "$option $1, $ending: left $(temporaries)"
    done
  done
}

# Links that differ from their targets only in letter case, in another
# directory and in the same one.
check_name a/p.h A/p.h kept 'rm -rf a A && mkdir a A && ln -s ../A/p.h a/p.h'
check_name prog.h PROG.H kept 'rm -f prog.h PROG.H && ln -s PROG.H prog.h'
echo "links differing in case: the target written, or kept by failed and killed runs"

# A link to itself, and a name with a character Windows forbids, cannot be
# written; the link stays. (A dangling link Wine hides from every call, so it
# is replaced like a missing file there.)
ln -s self.h self.h
for option in -o --listing; do
  for name in self.h 'pro?.h'; do
    run $option "$name" good.ep
    [ $status = 1 ] && [ "$(tr -d '\r' <stderr)" = "$program: unable to open output file '$name'" ] ||
      fail "$option $name: status $status"
  done
done
[ -L self.h ] && [ -z "$(temporaries)" ] || fail "a link to itself: $(ls -A)"
echo "a link to itself, and a forbidden character: unable to open"

# A header at a drive's root, and one named by its short name.
mkdir drive && ln -s "$work/drive" "$drive"
echo "$old_header" >longheader.h
short=$($wine "$hold" --short longheader.h | tr -d '\r')
[ "$short" != longheader.h ] || fail "no short name for longheader.h"
check_name 'Y:\x.h' drive/x.h gone :
check_name "$short" longheader.h gone :
rm "$drive"
# A drive-relative name: the header and its temporary file beside the source.
rm -f good.h && run Z:good.ep && grep -q "Code Size" good.h && [ -z "$(temporaries)" ] || fail "Z:good.ep: status $status"
echo "a drive's root, a short name ($short) and a drive-relative name: written, and no stale header after failed and killed runs"

# Two builds write one header at once: both succeed, and it is complete.
source_of 170000 >big.ep
run -o complete.h big.ep && cp complete.h big.h
for pair in $(seq 8); do
  $wine "$bin" -q big.ep >stdout2 2>stderr2 &
  run big.ep
  wait $! || fail "pair $pair: the first run failed: $(cat stderr2)"
  [ $status = 0 ] && cmp -s big.h complete.h && [ -z "$(temporaries)" ] || fail "pair $pair: $status"
done
# A run ended while it waits for a reader to let the header go leaves no
# temporary file, and the header as it was.
exec 4> >(exec $wine "$hold" big.h >held)
for _ in $(seq 100); do grep -q holding held 2>/dev/null && break; sleep 0.1; done
$wine "$bin" -q big.ep >stdout 2>stderr &
pid=$!
sleep 3
kill -9 $pid
wait $pid || true
exec 4>&-
await_cleanup
cmp -s big.h complete.h && [ -z "$(temporaries)" ] || fail "killed while waiting: $(ls -A)"
echo "two runs on one 8 MB source, 8 times: both succeed, the header complete; a run ended while it waits leaves nothing"

# Reserved device names as the header, the listing and the source, spelled in
# turn in upper, lower and mixed case, with and without an extension: refused,
# never opened. NUL is written directly. (CON, written directly too, needs a
# console, which Wine gives no test.)
roles=(-o --listing source)
index=0
for device in AUX PRN COM{1..9} LPT{1..9}; do
  lower=${device,,}
  spellings=("$device" "$lower.h" "${lower^}.x.lst")
  index=$((index + 1))
  for role in 0 1 2; do
    spelled=${spellings[(index + role) % 3]}
    if [ $role = 2 ]; then
      cp good.ep "$spelled.ep" && run "$spelled.ep"
      message="unable to open input file '$spelled.ep'"
    else
      run "${roles[role]}" "$spelled" good.ep
      message="output file '$spelled' is a device"
    fi
    [ $status = 1 ] && [ "$(tr -d '\r' <stderr)" = "$program: $message" ] ||
      fail "${roles[role]} $spelled: status $status"
  done
done
run -o NUL good.ep && [ $status = 0 ] && [ -z "$(temporaries)" ] || fail "-o NUL: status $status"
[ -z "$(ls -A | grep -iv '[.]ep$' | grep -i '^\(aux\|prn\|com[1-9]\|lpt[1-9]\|nul\)\([. ]\|$\)')" ] || fail "left $(ls -A)"
echo "AUX, PRN, COM1-9, LPT1-9 as header, listing and source: refused; NUL written"

# A name of 80 CJK characters: 242 bytes in UTF-8, too long for the temporary
# name beside it where the file system counts bytes.
name=$(printf '漢%.0s' $(seq 80)).h
run -o "$name" good.ep && [ $status = 0 ] && grep -q 'Code Size' "$name" || fail "CJK name: $status"
echo "an 80-character CJK name: written"
[ -c /dev/null ] || fail "/dev/null is no character device after the test"
