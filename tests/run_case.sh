#!/usr/bin/env bash
# Runs one end-to-end case: usage run_case.sh ZOLVEK CASES_DIR NAME VERSION.
# A case is one run (files NAME.EXT) or several over one source (run K's files
# NAME.K.EXT); each run starts in a fresh directory and its standard output,
# standard error, exit status and files are compared byte for byte.
# Of the case: NAME.ep; NAME.setup and NAME.check, shell run in the directory
# before and after each run (a failing check fails the case); NAME.user, the
# user to run as (status 77 where there is none). Of each run RUN: RUN.args,
# one a line (default NAME.ep); RUN.out, RUN.err, RUN.status, where "@BANNER@",
# "@USAGE@" (lines of their own, as golden/banner.txt and golden/usage.txt hold
# them) and "@VERSION@" stand for the program's texts; RUN.h, the expected
# RUN.output (default NAME.h), which must not exist without RUN.h; RUN.lst, the
# expected NAME.lst, which must not exist without it when RUN.args names it; RUN.inject, faults for the preloaded ZOLVEK_TEST_INJECT.
# ZOLVEK_TEST_WRAPPER goes before the program (valgrind, wine). With
# ZOLVEK_TEST_WINDOWS=1 a Windows Zolvek.exe runs: line feeds are CR LF, the
# program is named by its Windows path, RUN.windows.EXT replaces RUN.EXT, and
# NAME.windows-skip says why a case does not apply.
set -euo pipefail
bin=$1
cases=$(cd "$2" && pwd)
name=$3
version=$4
windows=${ZOLVEK_TEST_WINDOWS:-}

skip() { echo "skipped: $*" && exit 77; }
user=$(cat "$cases/$name.user" 2>/dev/null || true)
if [ -n "$user" ]; then
  [ -z "$windows" ] || skip "runs as user '$user', which Windows does not do here"
  id "$user" >/dev/null 2>&1 || skip "no user '$user' on this machine to run the program as"
fi
[ -n "$windows" ] && [ -f "$cases/$name.windows-skip" ] && skip "$(cat "$cases/$name.windows-skip")"

work=$(mktemp -d)
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT
run="$work/run"
mkdir "$run" "$work/bin"
# Run by name through PATH, so that the program sees "Zolvek" as its name even
# behind a wrapper; Windows passes its full path instead.
program=Zolvek
asname=Zolvek
if [ -n "$windows" ]; then
  program="$work/bin/Zolvek.exe"
  asname="Z:${program//\//\\}"
fi
cp "$bin" "$work/bin/${program##*/}"
chmod -R 755 "$work" "$work/bin"
export NAME=$name CASES=$cases

run_program() { # RUN
  rm -rf "$run" && mkdir "$run"
  if [ -f "$cases/$name.ep" ]; then cp "$cases/$name.ep" "$run/"; fi
  if [ -f "$cases/$name.setup" ]; then (cd "$run" && bash "$cases/$name.setup"); fi
  local args=("$name.ep") command=() wrapper=()
  if [ -f "$cases/$1.args" ]; then mapfile -t args <"$cases/$1.args"; fi
  if [ -f "$cases/$1.inject" ]; then
    [ -z "$windows" ] || skip "injects faults with a preloaded library, which Windows has not"
    command=(env "LD_PRELOAD=$ZOLVEK_TEST_INJECT" "ZOLVEK_INJECT=$(cat "$cases/$1.inject")"
      ASAN_OPTIONS=verify_asan_link_order=0)
  fi
  if [ -n "$user" ]; then command+=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups); fi
  read -r -a wrapper <<<"${ZOLVEK_TEST_WRAPPER:-}"
  status=0
  (cd "$run" && PATH="$work/bin:$PATH" exec "${command[@]}" "${wrapper[@]}" "$program" "${args[@]}") \
    >"$work/stdout" 2>"$work/stderr" || status=$?
}

# Prints the path of the expected file with this ending, as this platform shows it.
expected() {
  local file="$cases/$run_name$1" crlf=$windows
  if [ -n "$windows" ] && [ -f "$cases/$run_name.windows$1" ]; then file="$cases/$run_name.windows$1"; fi
  # A header left by a failed run is not the program's own text.
  if [ "$1" = .status ] || { [ "$1" = .h ] && [ "$expected_status" != 0 ]; }; then crlf=; fi
  if [ -z "$crlf" ] && [ "$1" != .out ]; then
    echo "$file"
    return
  fi
  ASNAME="$asname" VERSION="$version" CRLF="$crlf" GOLDEN="$cases/../golden" LC_ALL=C awk '
    BEGIN { if (ENVIRON["CRLF"] != "") ORS = "\r\n" }
    function insert(name, line) {
      while ((getline line <(ENVIRON["GOLDEN"] "/" name)) > 0) {
        gsub(/@VERSION@/, ENVIRON["VERSION"], line)
        print line
      }
      close(ENVIRON["GOLDEN"] "/" name)
    }
    $0 == "@USAGE@" { insert("usage.txt"); next }
    $0 == "@BANNER@" { insert("banner.txt"); next }
    { gsub(/@VERSION@/, ENVIRON["VERSION"]) }
    ENVIRON["CRLF"] != "" && substr($0, 1, 7) == "Zolvek:" { $0 = ENVIRON["ASNAME"] substr($0, 7) }
    { print }' "$file" >"$work/expected$1"
  echo "$work/expected$1"
}
failed=0
same() {
  cmp -s "$1" "$2" && return
  echo "--- $run_name: $3 differs (expected, actual):"
  diff -u "$1" "$2" || true
  failed=1
}
runs=("$name")
if [ ! -f "$cases/$name.status" ]; then
  runs=()
  while [ -f "$cases/$name.$((${#runs[@]} + 1)).status" ]; do runs+=("$name.$((${#runs[@]} + 1))"); done
fi
for run_name in "${runs[@]}"; do
  run_program "$run_name"
  # Under load Wine now and then starts a program without its standard handles, so
  # that all its output is lost: such a run (one that said nothing where it should
  # have, or whose status is not the one expected) is repeated once, in a fresh directory.
  if [ -n "$windows" ] && [ ! -s "$work/stdout" ] && [ ! -s "$work/stderr" ] &&
    { [ -s "$cases/$run_name.out" ] || [ "$status" != "$(cat "$(expected .status)")" ]; }; then
    run_program "$run_name"
  fi
  output=$(cat "$cases/$run_name.output" 2>/dev/null || echo "$name.h")
  expected_status=$(cat "$(expected .status)")
  same "$(expected .out)" "$work/stdout" "standard output"
  same "$(expected .err)" "$work/stderr" "standard error"
  [ "$status" = "$expected_status" ] || { echo "--- $run_name: exit status $status, expected $expected_status" && failed=1; }
  if [ -f "$cases/$run_name.h" ] || { [ -n "$windows" ] && [ -f "$cases/$run_name.windows.h" ]; }; then
    if [ -f "$run/$output" ]; then
      same "$(expected .h)" "$run/$output" "$output"
    else
      echo "--- $run_name: $output was not written" && failed=1
    fi
  elif [ -e "$run/$output" ] || [ -L "$run/$output" ]; then
    echo "--- $run_name: $output exists, but none is expected" && failed=1
  fi
  if [ -f "$cases/$run_name.lst" ]; then
    if [ -f "$run/$name.lst" ]; then same "$(expected .lst)" "$run/$name.lst" "$name.lst"; else echo "--- $run_name: $name.lst was not written" && failed=1; fi
  elif [ -e "$run/$name.lst" ] && grep -qx "$name.lst" "$cases/$run_name.args" 2>/dev/null; then
    echo "--- $run_name: $name.lst exists, but none is expected" && failed=1
  fi
  if [ -f "$cases/$name.check" ]; then (cd "$run" && PATH="$work/bin:$PATH" bash -euo pipefail "$cases/$name.check") || failed=1; fi
done
exit $failed
