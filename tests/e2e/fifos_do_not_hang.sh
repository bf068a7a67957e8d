#!/usr/bin/env bash
# FIFOs in the places of Save.Bmp and of the introduction: the
# program reports each and goes on instead of waiting for a writer; the
# FIFOs stay as they were.
source "$(dirname "$0")/lib.sh"

cp -r "$2/Text" "$work/"
cp "$2"/*.wav "$work/"
rm "$work/Text/Text65.dat"
mkfifo "$work/Save.Bmp" "$work/Text/Text65.dat"

# answer_boxes SECONDS: presses Return on every error box (the program's
# title, not the main window's width) until the program ends or time is up.
answer_boxes() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$program_pid" 2>/dev/null || return 0
    for id in $(xdotool search --onlyvisible --name '^ТАЙНОВИД$' 2>/dev/null || true); do
      if ! xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 668x'; then
        boxes=$((boxes + 1))
        focus "$id" && xdotool key Return
      fi
    done
    sleep 0.1
  done
}

boxes=0
start_display
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$1") >"$work/program.log" 2>&1 &
program_pid=$!
# The settings and the introduction each give one error box before the window shows.
answer_boxes 3
window=$(wait_for_window "ТАЙНОВИД")
[ "$boxes" -ge 2 ] || { echo "expected two error boxes at start, saw $boxes"; exit 1; }
focus "$window"
xdotool key F12
answer_boxes 10
wait_for_exit 1 || { echo "the program did not end"; exit 1; }
for fifo in Save.Bmp Text/Text65.dat; do
  [ -p "$work/$fifo" ] || { echo "$fifo is no longer a FIFO"; exit 1; }
done
echo "started and ended beside the FIFOs, $boxes error boxes"
