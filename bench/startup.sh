#!/usr/bin/env bash
# The real program against the floor (a bare Qt window of the same size),
# started alternately under one private Xvfb, each in a working folder
# holding the run folder's data and a Save.Bmp from an earlier start:
#   bench/startup.sh STARTWATCH PROGRAM FLOOR RUN_DIR [PAIRS]
# Prints, for both, the median time from exec to the window being mapped,
# the median processor time used by then (steadier than the time when the
# machine is shared) and the median peak resident memory, and the ratios
# program / floor.
source "$(dirname "$0")/../tests/e2e/lib.sh"

startwatch=$1 program=$2 floor=$3 run_dir=$4 pairs=${5:-11}
settle_ms=500
export QT_QPA_PLATFORM=xcb

start_display
copy_run_data "$run_dir"
cd "$work"

measure() {  # measure NAME BINARY: appends "ms KiB cpu-ms" to $work/NAME
  "$startwatch" 668 "$settle_ms" "$2" >>"$work/$1" 2>>"$work/log" ||
    { echo "$1 did not start:"; cat "$work/log"; exit 1; }
}

measure program "$program"  # writes Save.Bmp: every later start finds one
: >"$work/program"
for i in $(seq "$pairs"); do
  if ((i % 2)); then measure program "$program"; measure floor "$floor"
  else measure floor "$floor"; measure program "$program"; fi
done

median() {  # median COLUMN FILE
  awk -v c="$1" '{ print $c }' "$2" | sort -n | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
for what in program floor; do
  printf '%-8s start to window (ms): %s\n' "$what" "$(awk '{ printf "%s ", $1 }' "$work/$what")"
  printf '%-8s processor time (ms):  %s\n' "$what" "$(awk '{ printf "%s ", $3 }' "$work/$what")"
  printf '%-8s peak memory (KiB):    %s\n' "$what" "$(awk '{ printf "%s ", $2 }' "$work/$what")"
done
pt=$(median 1 "$work/program") ft=$(median 1 "$work/floor")
pm=$(median 2 "$work/program") fm=$(median 2 "$work/floor")
pc=$(median 3 "$work/program") fc=$(median 3 "$work/floor")
echo "$pairs alternating pairs, medians:"
awk -v pt="$pt" -v ft="$ft" -v pm="$pm" -v fm="$fm" -v pc="$pc" -v fc="$fc" 'BEGIN {
  printf "  start to window: taynovid %.1f ms, floor %.1f ms, ratio %.3f\n", pt, ft, pt / ft
  printf "  processor time:  taynovid %.1f ms, floor %.1f ms, ratio %.3f\n", pc, fc, pc / fc
  printf "  peak memory:     taynovid %.1f MiB, floor %.1f MiB, ratio %.3f\n", pm / 1024, fm / 1024, pm / fm
}'
