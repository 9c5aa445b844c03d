#!/usr/bin/env bash
# Benchmark: Zolvek against cat, tr and sed on the same generated sources.
# Usage: bench/run.sh [BUILD_DIR]   (default: build; build it first)
# The sources are generated under BUILD_DIR/bench and never committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
zolvek="$build/Zolvek"
[ -x "$zolvek" ] || { echo "no $zolvek: build first" >&2; exit 1; }
work="$build/bench"
mkdir -p "$work"
cd "$work"

now_us() { echo $(($(date +%s%N) / 1000)); }
# Runs a command line with its output discarded; prints its wall time in us.
time_us() {
  local start end
  start=$(now_us)
  "$@" >/dev/null 2>&1
  end=$(now_us)
  echo $((end - start))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mbps() { awk -v bytes="$1" -v us="$2" 'BEGIN { printf "%.0f", bytes / us }'; }

run_zolvek() { "$zolvek" "$1.ep"; }
run_cat() { cat "$1.ep" >out.txt; }
run_tr() { tr ';' ',' <"$1.ep" >out.txt; }
run_sed() { sed 's/;/,/g' "$1.ep" >out.txt; }

echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $(uname -sr)"
echo "$("$zolvek" 2>/dev/null | sed -n 4p)"
echo
printf '%-12s %9s %9s %9s %9s %8s %8s %8s %8s %10s\n' input Zolvek_ms cat_ms tr_ms sed_ms \
  Zolvek_MB/s Z/cat Z/tr Z/sed peak_KiB
for run_config in 1:lf:15 10:lf:9 100:lf:5 100:crlf:5; do
  IFS=: read -r mb ends runs <<<"$run_config"
  name="src_${mb}mb_$ends"
  [ -f "$name.ep" ] ||
    awk -v mb="$mb" -v crlf="$([ "$ends" = crlf ] && echo 1 || echo 0)" -f "$root/bench/generate.awk" >"$name.ep"
  bytes=$(stat -c %s "$name.ep")
  run_cat "$name" # warm the page cache
  : >z.txt; : >c.txt; : >t.txt; : >s.txt
  for _ in $(seq "$runs"); do # interleaved, so that drift hits every tool alike
    time_us run_zolvek "$name" >>z.txt
    time_us run_cat "$name" >>c.txt
    time_us run_tr "$name" >>t.txt
    time_us run_sed "$name" >>s.txt
  done
  z=$(median <z.txt); c=$(median <c.txt); t=$(median <t.txt); s=$(median <s.txt)
  peak=$(/usr/bin/time -f %M "$zolvek" "$name.ep" 2>&1 >/dev/null | tail -n 1)
  printf '%-12s %9.1f %9.1f %9.1f %9.1f %8s %8s %8s %8s %10s\n' "${mb}MB $ends" \
    "$(ratio "$z" 1000)" "$(ratio "$c" 1000)" "$(ratio "$t" 1000)" "$(ratio "$s" 1000)" \
    "$(mbps "$bytes" "$z")" "$(ratio "$z" "$c")" "$(ratio "$z" "$t")" "$(ratio "$z" "$s")" "$peak"
done

echo
name=prog_300_lines
awk -v lines=300 -v crlf=0 -f "$root/bench/generate.awk" >"$name.ep"
: >z.txt; : >c.txt
for _ in $(seq 200); do
  time_us run_zolvek "$name" >>z.txt
  time_us run_cat "$name" >>c.txt
done
z=$(median <z.txt); c=$(median <c.txt)
echo "300-line program, process start to exit, median of 200 runs:" \
  "Zolvek ${z} us, cat ${c} us, ratio $(ratio "$z" "$c")"
