#!/usr/bin/env bash
# Benchmark with hyperfine: Zolvek against cat, tr and sed on the same generated
# sources (1, 10 and 100 MB, LF and CR LF), then the start-up of a 300-line
# program against cat. Every output is removed before each timed run, so no run
# truncates a file the kernel is still writing back.
# Usage: bench/run.sh [BUILD_DIR]   (default: build; build it first)
# The sources are generated under BUILD_DIR/bench and never committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
zolvek="$build/Zolvek"
[ -x "$zolvek" ] || { echo "no $zolvek: build first" >&2; exit 1; }
if ! command -v hyperfine >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq hyperfine >/dev/null
fi
work="$build/bench"
mkdir -p "$work"
cd "$work"
# The generator is deterministic, so the 10 MB header is too: a change of speed
# must never change the output.
PINNED_SHA256=6f9f8f2857a691c68c705f102b4789a30260acba5ab97911ade891a075253623

# Prints "min median" in milliseconds of each command over the hyperfine JSON
# exports given, which hold the same commands in the same order.
times() {
  python3 -c 'import json, statistics, sys
runs = [json.load(open(f))["results"] for f in sys.argv[1:]]
for i in range(len(runs[0])):
    t = [x for r in runs for x in r[i]["times"]]
    print("%.1f %.1f" % (1000 * min(t), 1000 * statistics.median(t)))' "$@"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $(uname -sr), $(hyperfine --version)"
echo "$("$zolvek" --version)"
echo
printf '%-11s %17s %15s %15s %15s %6s %6s %9s %8s\n' input "Zolvek min/median" \
  "cat min/median" "tr min/median" "sed min/median" Z/cat Z/tr Z_ms/MB peak_KiB
for mb in 1 10 100; do
  for ends in lf crlf; do
    name="src_${mb}mb_$ends"
    [ -f "$name.ep" ] ||
      awk -v mb="$mb" -v crlf="$([ "$ends" = crlf ] && echo 1 || echo 0)" -f "$root/bench/generate.awk" >"$name.ep"
    # The commands take turns in rounds, so that a change in the machine's speed
    # during the run weighs on all of them alike. tr reads only standard input,
    # which hyperfine 1.15 cannot give without a shell.
    for round in 1 2 3; do
      hyperfine -N --warmup 1 --runs $((mb == 100 ? 4 : 6)) --style none --output=./out.txt \
        --prepare 'rm -f out.h out.txt' --export-json "times$round.json" \
        "$zolvek -q -o out.h $name.ep" "cat $name.ep" "sh -c \"tr ';' ',' <$name.ep >out.txt\"" \
        "sed s/;/,/g $name.ep" >/dev/null 2>&1
    done
    mapfile -t t < <(times times1.json times2.json times3.json)
    read -r z_min z_med <<<"${t[0]}"
    c_med=${t[1]#* } tr_med=${t[2]#* }
    peak=$(/usr/bin/time -f %M "$zolvek" -q -o out.h "$name.ep" 2>&1 >/dev/null | tail -n 1)
    if [ "$mb$ends" = 10lf ] && [ "$(sha256sum <out.h | cut -d' ' -f1)" != "$PINNED_SHA256" ]; then
      echo "the 10 MB header changed: its SHA-256 is not the pinned one" >&2
      exit 1
    fi
    printf '%-11s %17s %15s %15s %15s %6s %6s %9s %8s\n' "${mb}MB $ends" "$z_min / $z_med" \
      "${t[1]/ / / }" "${t[2]/ / / }" "${t[3]/ / / }" "$(ratio "$z_med" "$c_med")" \
      "$(ratio "$z_med" "$tr_med")" "$(ratio "$z_med" "$mb")" "$peak"
  done
done

echo
awk -v lines=300 -v crlf=0 -f "$root/bench/generate.awk" >prog.ep
hyperfine -N --warmup 20 --runs 300 --style none --output=./out.txt --prepare 'rm -f out.h out.txt' \
  --export-json times.json "$zolvek -q -o out.h prog.ep" "cat prog.ep" >/dev/null 2>&1
mapfile -t t < <(times times.json)
echo "300-line program, start to exit (min / median of 300 runs): Zolvek ${t[0]/ / / } ms," \
  "cat ${t[1]/ / / } ms, ratio of medians $(ratio "${t[0]#* }" "${t[1]#* }")"
