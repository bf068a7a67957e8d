#!/usr/bin/env bash
# Time from starting the real program to its main window on the screen,
# under Xvfb in a fresh working folder: bench/startup.sh BINARY RUN_DIR [RUNS]
source "$(dirname "$0")/../tests/e2e/lib.sh"

runs=${3:-7}
start_display
times=()
for _ in $(seq "$runs"); do
  rm -f "$work/Save.Bmp"
  begin=$(date +%s%N)
  start_program "$1" "$2"
  window=$(wait_for_window "ТАЙНОВИД")
  end=$(date +%s%N)
  times+=($(((end - begin) / 1000000)))
  kill "$program_pid"; wait "$program_pid" 2>/dev/null || true; program_pid=""
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
echo "start to window, $runs runs (ms): $sorted"
echo "median: $median ms"
