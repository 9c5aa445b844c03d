#!/usr/bin/env bash
# Runs one end-to-end case in a fresh directory and compares standard output,
# standard error, exit status and the produced file byte for byte.
#
# cases/NAME.ep      the source, copied into the run directory
# cases/NAME.args    the arguments, one a line (default: NAME.ep; empty: none)
# cases/NAME.setup   shell run in the run directory before the program
# cases/NAME.output  the output file to look at (default: NAME.h)
# cases/NAME.h       its expected bytes; when absent, the output must not exist
# cases/NAME.out, NAME.err, NAME.status   expected stdout, stderr, exit status
# cases/NAME.check   shell run in the run directory afterwards; fails the case
# cases/NAME.user    run the program as this user (the case is skipped, status
#                    77, where the user does not exist)
# A setup may write expected files into $EXPECTED instead (large generated ones).
# ZOLVEK_TEST_WRAPPER, when set, is put before the program (valgrind, say).
#
# ZOLVEK_TEST_WINDOWS=1 runs a Windows Zolvek.exe (behind a wrapper such as
# wine). The expected files are then taken as Windows shows them: every line
# feed written as CR LF, and the program named by its full Windows path.
# cases/NAME.windows.EXT replaces NAME.EXT there, for the few cases whose result
# differs (a Ctrl-Z byte ends text input on Windows); cases/NAME.windows-skip
# holds the reason a case does not apply to Windows.
set -euo pipefail
bin=$1
cases=$(cd "$2" && pwd)
name=$3
windows=${ZOLVEK_TEST_WINDOWS:-}

skip() {
  echo "skipped: $*"
  exit 77
}
user=
if [ -f "$cases/$name.user" ]; then
  user=$(cat "$cases/$name.user")
  [ -z "$windows" ] || skip "runs as user '$user', which Windows does not do here"
  id "$user" >/dev/null 2>&1 || skip "no user '$user' on this machine to run the program as"
fi
if [ -n "$windows" ] && [ -f "$cases/$name.windows-skip" ]; then
  skip "$(cat "$cases/$name.windows-skip")"
fi

work=$(mktemp -d)
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
run="$work/run"
mkdir "$run" "$work/bin" "$work/expected"
chmod 755 "$work/bin"
if [ -n "$windows" ]; then
  program="$work/bin/Zolvek.exe"
  asname="Z:${program//\//\\}"
  cp "$bin" "$program"
else
  # Run by name through PATH, so that the program sees "Zolvek" as its name even
  # behind a wrapper.
  program=Zolvek
  asname=Zolvek
  cp "$bin" "$work/bin/Zolvek"
  chmod 755 "$work/bin/Zolvek"
fi
export NAME=$name CASES=$cases EXPECTED="$work/expected"

if [ -f "$cases/$name.ep" ]; then cp "$cases/$name.ep" "$run/"; fi
if [ -f "$cases/$name.setup" ]; then (cd "$run" && bash "$cases/$name.setup"); fi
args=("$name.ep")
if [ -f "$cases/$name.args" ]; then mapfile -t args <"$cases/$name.args"; fi
output="$name.h"
if [ -f "$cases/$name.output" ]; then output=$(cat "$cases/$name.output"); fi

command=()
if [ -n "$user" ]; then
  command=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups)
fi
read -r -a wrapper <<<"${ZOLVEK_TEST_WRAPPER:-}"
command+=("${wrapper[@]}" "$program" "${args[@]}")
status=0
(cd "$run" && PATH="$work/bin:$PATH" exec "${command[@]}") >"$work/stdout" 2>"$work/stderr" ||
  status=$?

failed=0
# Prints the path of the expected file with this ending, in the platform's form.
expected() {
  local file="$cases/$name$1"
  if [ -f "$EXPECTED/$name$1" ]; then
    file="$EXPECTED/$name$1"
  elif [ -n "$windows" ] && [ -f "$cases/$name.windows$1" ]; then
    file="$cases/$name.windows$1"
  fi
  # A header left by a failed run is a file the program did not write.
  if [ -z "$windows" ] || [ "$1" = .status ] || { [ "$1" = .h ] && [ "$expected_status" != 0 ]; }; then
    echo "$file"
    return
  fi
  ASNAME="$asname" LC_ALL=C awk 'BEGIN { ORS = "\r\n" }
    substr($0, 1, 7) == "Zolvek:" { $0 = ENVIRON["ASNAME"] substr($0, 7) }
    { print }' "$file" >"$work/expected/windows$1"
  echo "$work/expected/windows$1"
}
same() {
  if ! cmp -s "$1" "$2"; then
    echo "--- $3 differs (expected, actual):"
    diff -u "$1" "$2" || true
    failed=1
  fi
}
same "$(expected .out)" "$work/stdout" "standard output"
same "$(expected .err)" "$work/stderr" "standard error"
expected_status=$(cat "$(expected .status)")
if [ "$status" != "$expected_status" ]; then
  echo "--- exit status $status, expected $expected_status"
  failed=1
fi
if [ -f "$cases/$name.h" ] || { [ -n "$windows" ] && [ -f "$cases/$name.windows.h" ]; }; then
  if [ -f "$run/$output" ]; then
    same "$(expected .h)" "$run/$output" "$output"
  else
    echo "--- $output was not written"
    failed=1
  fi
elif [ -e "$run/$output" ] || [ -L "$run/$output" ]; then
  echo "--- $output exists, but none is expected"
  failed=1
fi
if [ -f "$cases/$name.check" ]; then
  (cd "$run" && bash -euo pipefail "$cases/$name.check") || failed=1
fi
exit $failed
