#!/usr/bin/env bash
# Builds what is missing of the benchmark programs in bench/, runs each with short iteration
# settings and prints their figures as one table. Usage: bench/run_all.sh [BUILD_DIR]
# (default build; JOBS sets the build's parallelism). A program that fails to build or to run
# gets a row saying so; the others still run. Exits non-zero when any failed.
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-${BUILD:-build}}
jobs=${JOBS:-2}
# Short runs: the whole table takes about a minute on a quiet machine.
codec_args=(--benchmark_min_time=0.2 --benchmark_format=csv)
modem_args=(--lines 20000 --latency 300 --idle 5 --sends 10)
limit=300  # seconds any one program may take

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja >"$work/configure.log" 2>&1 || {
    cat "$work/configure.log" >&2
    exit 1
  }
fi
mapfile -t programs < <(ninja -C "$build" -t targets all 2>/dev/null | sed -n 's/^\(bench_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
if [ ${#programs[@]} -eq 0 ]; then
  echo "no benchmark programs in $build (configured with GATEWAY_BENCH=OFF?)" >&2
  exit 1
fi

failed=0
rows=$work/rows  # figure <TAB> value <TAB> program
: >"$rows"

# Each program's output becomes rows; a program nobody taught this script passes its lines on.
to_rows() {
  local program=$1 out=$2
  case $program in
  bench_codec)
    awk -F, -v p="$program" '
      BEGIN {
        split("DecodeDeliver160=codec: decode SMS-DELIVER of 160 characters;" \
              "EncodeSubmit160=codec: encode SMS-SUBMIT of 160 characters;" \
              "DecodeCellBroadcastPage=codec: decode a cell broadcast page;" \
              "PackSeptets160=septets: pack 160;" \
              "UnpackSeptets160=septets: unpack 160", pairs, ";")
        for (i in pairs) { split(pairs[i], kv, "="); label[kv[1]] = kv[2] }
        scale["ns"] = 1e9; scale["us"] = 1e6; scale["ms"] = 1e3; scale["s"] = 1
      }
      NR > 1 && $1 != "" {
        name = $1; gsub(/"/, "", name)
        what = (name in label) ? label[name] : "codec: " name
        cpu = $4; unit = $5
        printf "%s\t%.2f M/s (%.0f %s CPU each)\t%s\n", what, scale[unit] / cpu / 1e6, cpu, unit, p
      }' "$out"
    ;;
  bench_modem)
    awk -v p="$program" '
      /^receive path:/ { printf "receive path: unsolicited lines\t%s lines/s (%s lines)\t%s\n", $(NF-1), $3, p }
      /^line latency/ {
        match($0, /median [0-9.]+ ms/); med = substr($0, RSTART + 7, RLENGTH - 10)
        match($0, /p99 [0-9.]+ ms/); p99 = substr($0, RSTART + 4, RLENGTH - 7)
        printf "receive path: latency, device write to event\tmedian %s ms, p99 %s ms\t%s\n", med, p99, p
      }
      /^idle open engine:/ { printf "idle CPU: open engine\t%s ms CPU in %s s\t%s\n", $4, $8, p }
      /^sends:/ {
        match($0, /[0-9.]+ ms each/); each = substr($0, RSTART, RLENGTH - 8)
        match($0, /pauses [0-9.]+ ms/); floor = substr($0, RSTART + 7, RLENGTH - 10)
        match($0, /overhead [0-9.-]+ ms/); over = substr($0, RSTART + 9, RLENGTH - 12)
        printf "send: overhead over the fixed pauses\t%s ms per send (%s ms against %s ms)\t%s\n", over, each, floor, p
      }' "$out"
    ;;
  bench_link)
    awk -v p="$program" '
      /^close while flooded/ {
        where = ($0 ~ /event thread/) ? "event thread" : "main thread"
        match($0, /median [0-9.]+ ms, max [0-9.]+ ms/)
        printf "serial port: close while flooded, events on %s\t%s\t%s\n", where, substr($0, RSTART, RLENGTH), p
      }
      /^open idle port:/ { printf "idle CPU: open port\t%s ms CPU, %s wake-ups in %s s\t%s\n", $4, $8, $11, p }' "$out"
    ;;
  bench_terminal)
    awk -v p="$program" '
      / passes / {
        name = $0; sub(/ +passes .*/, "", name)
        match($0, /per pass +[0-9.]+ ms \(longest +[0-9.]+ ms\)/); pass = substr($0, RSTART, RLENGTH)
        gsub(/ +/, " ", pass)
        match($0, /GUI total +[0-9.]+ ms/); total = substr($0, RSTART + 10, RLENGTH - 10)
        gsub(/^ +/, "", total)
        printf "terminal apply: %s\t%s, total %s\t%s\n", name, pass, total, p
      }' "$out"
    ;;
  *)
    awk -v p="$program" 'NF { printf "%s\t%s\t%s\n", p, $0, p }' "$out"
    ;;
  esac
}

for program in "${programs[@]}"; do
  if ! cmake --build "$build" -j "$jobs" --target "$program" >"$work/$program.build" 2>&1; then
    printf '%s\tnot built (see cmake --build %s --target %s)\t%s\n' "$program" "$build" "$program" "$program" >>"$rows"
    failed=1
    continue
  fi
  binary=$(find "$build/bench" -type f -perm -u+x -name "$program" | head -n 1)
  args=()
  case $program in
  bench_codec) args=("${codec_args[@]}") ;;
  bench_modem) args=("${modem_args[@]}") ;;
  esac
  echo "running $program ${args[*]}" >&2
  if ! timeout "$limit" "$binary" "${args[@]}" >"$work/$program.out" 2>"$work/$program.err"; then
    printf '%s\tfailed: %s\t%s\n' "$program" "$(tail -n 1 "$work/$program.err")" "$program" >>"$rows"
    failed=1
    continue
  fi
  to_rows "$program" "$work/$program.out" >>"$rows"
done

echo
echo "Benchmarks of $(git rev-parse --short HEAD 2>/dev/null || echo this tree), $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M UTC')"
awk -F'\t' '
  { figure[NR] = $1; value[NR] = $2; program[NR] = $3
    if (length($1) > w1) w1 = length($1); if (length($2) > w2) w2 = length($2); if (length($3) > w3) w3 = length($3) }
  END {
    if (w1 < 6) w1 = 6; if (w2 < 5) w2 = 5; if (w3 < 7) w3 = 7
    line = sprintf("+-%s-+-%s-+-%s-+", dash(w1), dash(w2), dash(w3))
    print line
    printf "| %-*s | %-*s | %-*s |\n", w1, "figure", w2, "value", w3, "program"
    print line
    for (i = 1; i <= NR; ++i)
      printf "| %-*s | %-*s | %-*s |\n", w1, figure[i], w2, value[i], w3, program[i]
    print line
  }
  function dash(n,  s) { s = ""; while (n-- > 0) s = s "-"; return s }' "$rows"
exit $failed
