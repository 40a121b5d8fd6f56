#!/usr/bin/env bash
# Times what users wait for: whole tarvel-mdf processes on generated mines of 100,000 and
# 1,000,000 nodes and branches, each run paired with md5sum of the same input (for import-csv:
# of its two CSV files). Prints per command the medians of wall time, the ratio to md5sum (median
# of the per-pair ratios) and the peak resident memory as /usr/bin/time -v reports it, and the
# load average before and after (the ratios move by a third with the machine's load).
#
#   bench/whole-process.sh [BUILD_DIR] [RUNS] [SIZES...]
#     BUILD_DIR  the build folder (default: build); needs bin/tarvel-mdf and bin/make-large-mine
#     RUNS       timed runs per command (default 7), after one run that is not counted
#     SIZES      element counts (default: 100000 1000000)
#   TARVEL_BENCH_COMMANDS  the commands to time, separated by spaces (default: info check convert
#                          dump render report export-csv import-csv; report of a million
#                          elements takes minutes a run)
#
# Output of info and dump goes to /dev/null; the files that convert, render, report, export-csv
# and import-csv write go to a temporary folder. The mines are generated once into
# $TARVEL_BENCH_DIR (default: BUILD_DIR/bench-mines) and kept, with their CSV files beside them.
set -euo pipefail

BUILD="${1:-build}"
RUNS="${2:-7}"
shift $(( $# >= 2 ? 2 : $# ))
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(100000 1000000)
read -r -a COMMANDS <<<"${TARVEL_BENCH_COMMANDS:-info check convert dump render report export-csv import-csv}"

TOOL="$BUILD/bin/tarvel-mdf"
MAKE="$BUILD/bin/make-large-mine"
DIR="${TARVEL_BENCH_DIR:-$BUILD/bench-mines}"
for f in "$TOOL" "$MAKE" /usr/bin/time; do
  [ -x "$f" ] || { echo "missing $f (build the project; Debian package 'time' for /usr/bin/time)" >&2; exit 2; }
done
mkdir -p "$DIR"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# One run: prints "<wall seconds> <peak KiB>".
run_once() {
  local start end
  start=$EPOCHREALTIME
  /usr/bin/time -v -o "$TMP/time" "$@" >/dev/null 2>"$TMP/err" || true
  end=$EPOCHREALTIME
  local rss
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$TMP/time")
  awk -v s="$start" -v e="$end" -v r="$rss" 'BEGIN { printf "%.6f %d\n", e - s, r }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# 1234567 -> 1,234,567
grouped() { awk -v n="$1" 'BEGIN { s = sprintf("%d", n); while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s); print s }'; }
ms() { grouped "$(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 + 0.5 }')" | sed 's/$/ ms/'; }
mb() { awk -v b="$(cat "$@" | wc -c)" 'BEGIN { printf "%.0f MB", b / 1e6 }'; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '| elements (nodes = branches) | command | md5sum of its input | the command | ratio | peak RSS |\n'
printf '|---|---|---|---|---|---|\n'
for n in "${SIZES[@]}"; do
  mine="$DIR/mine-$n.mdf"
  [ -f "$mine" ] || "$MAKE" "$n" "$mine"
  csv="$DIR/csv-$n"
  for cmd in "${COMMANDS[@]}"; do
    inputs=("$mine")
    case $cmd in
      convert) args=(convert "$mine" "$TMP/out.mdf") ;;
      render) args=(render "$mine" "$TMP/out.png") ;;
      report) args=(report "$mine" "$TMP/out.pdf") ;;
      export-csv) mkdir -p "$TMP/csv"; args=(export-csv "$mine" "$TMP/csv") ;;
      import-csv)
        if [ ! -f "$csv/branches.csv" ]; then
          mkdir -p "$csv"
          "$TOOL" export-csv "$mine" "$csv"
        fi
        inputs=("$csv/nodes.csv" "$csv/branches.csv")
        args=(import-csv "${inputs[@]}" "$TMP/imported.mdf") ;;
      *) args=("$cmd" "$mine") ;;
    esac
    run_once "$TOOL" "${args[@]}" >/dev/null   # warm-up
    run_once md5sum "${inputs[@]}" >/dev/null
    : >"$TMP/a"; : >"$TMP/b"; : >"$TMP/r"
    for ((k = 0; k < RUNS; ++k)); do
      read -r ta ra < <(run_once "$TOOL" "${args[@]}")
      read -r tb rb < <(run_once md5sum "${inputs[@]}")
      echo "$ta $ra" >>"$TMP/a"
      echo "$tb" >>"$TMP/b"
      awk -v a="$ta" -v b="$tb" 'BEGIN { print a / b }' >>"$TMP/r"
    done
    med=$(cut -d' ' -f1 "$TMP/a" | median)
    peak=$(cut -d' ' -f2 "$TMP/a" | median)
    ratio=$(median <"$TMP/r")
    md5=$(median <"$TMP/b")
    printf '| %s (%s) | `%s` | %s | %s | %s | %s |\n' "$(grouped "$n")" "$(mb "${inputs[@]}")" "$cmd" \
      "$(ms "$md5")" "$(ms "$med")" "$(awk -v r="$ratio" 'BEGIN { printf "%.1f×", r }')" \
      "$(awk -v a="$peak" 'BEGIN { printf "%.0f MiB", a / 1024 }')"
  done
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
