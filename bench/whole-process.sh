#!/usr/bin/env bash
# Times what users wait for: whole tarvel-mdf processes (info, check, convert, dump) on generated
# mines of 100,000 and 1,000,000 nodes and branches, each run paired with md5sum of the same file.
# Prints the medians, the ratio to md5sum (median of the per-pair ratios) and the peak resident
# memory of info and dump as /usr/bin/time -v reports it.
#
#   bench/whole-process.sh [BUILD_DIR] [RUNS] [SIZES...]
#     BUILD_DIR  the build folder (default: build); needs bin/tarvel-mdf and bin/make-large-mine
#     RUNS       timed runs per command (default 7), after one run that is not counted
#     SIZES      element counts (default: 100000 1000000)
#
# Output of info and dump goes to /dev/null; convert writes its file beside the mine. The mines
# are generated once into $TARVEL_BENCH_DIR (default: BUILD_DIR/bench-mines) and kept.
set -euo pipefail

BUILD="${1:-build}"
RUNS="${2:-7}"
shift $(( $# >= 2 ? 2 : $# ))
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(100000 1000000)

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

printf '| elements (nodes = branches) | md5sum | `tarvel-mdf info` | ratio | `check` | ratio | `convert` | ratio | `dump` | ratio | peak RSS of `info` / `dump` |\n'
printf '|---|---|---|---|---|---|---|---|---|---|---|\n'
for n in "${SIZES[@]}"; do
  mine="$DIR/mine-$n.mdf"
  [ -f "$mine" ] || "$MAKE" "$n" "$mine"
  mb=$(awk -v b="$(stat -c %s "$mine")" 'BEGIN { printf "%.0f", b / 1e6 }')
  declare -A med=() ratio=() peak=()
  md5all=()
  for cmd in info check convert dump; do
    case $cmd in
      convert) args=(convert "$mine" "$TMP/out.mdf") ;;
      *) args=("$cmd" "$mine") ;;
    esac
    run_once "$TOOL" "${args[@]}" >/dev/null   # warm-up
    run_once md5sum "$mine" >/dev/null
    : >"$TMP/a"; : >"$TMP/b"; : >"$TMP/r"
    for ((k = 0; k < RUNS; ++k)); do
      read -r ta ra < <(run_once "$TOOL" "${args[@]}")
      read -r tb rb < <(run_once md5sum "$mine")
      echo "$ta $ra" >>"$TMP/a"
      echo "$tb" >>"$TMP/b"
      awk -v a="$ta" -v b="$tb" 'BEGIN { print a / b }' >>"$TMP/r"
    done
    med[$cmd]=$(cut -d' ' -f1 "$TMP/a" | median)
    peak[$cmd]=$(cut -d' ' -f2 "$TMP/a" | median)
    ratio[$cmd]=$(median <"$TMP/r")
    md5all+=($(cat "$TMP/b"))
  done
  md5=$(printf '%s\n' "${md5all[@]}" | median)
  row="| $(grouped "$n") ($mb MB) | $(ms "$md5")"
  for cmd in info check convert dump; do
    row+=" | $(ms "${med[$cmd]}") | $(awk -v r="${ratio[$cmd]}" 'BEGIN { printf "%.1f×", r }')"
  done
  row+=" | $(awk -v a="${peak[info]}" -v b="${peak[dump]}" 'BEGIN { printf "%.0f / %.0f MiB", a / 1024, b / 1024 }') |"
  echo "$row"
  unset med ratio peak
done
