#!/usr/bin/env bash
# Preferences survive a restart: the first start writes the defaults, F4
# and F3 are written at once, F12 closes, and the next start reads them back.
source "$(dirname "$0")/lib.sh"

defaults=' 0.00000000000000E+0000  3.00000000000000E+0000  1.00000000000000E+0000  2.00000000000000E+0000  1.10000000000000E+0001  1.00000000000000E+0000 11 0 12632256 0 Times New Roman'

start_display
start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
[ "$(cat "$work/Save.Bmp")" = "$defaults"$'\r' ] || { echo "defaults not written"; od -c "$work/Save.Bmp" | head; exit 1; }

xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key F4
sleep 0.3
xdotool key F3
sleep 0.3
read -r sound mode flat table _ < "$work/Save.Bmp"
[ "$sound" = "1.00000000000000E+0000" ] || { echo "F4 was not saved: $sound"; exit 1; }
[ "$table" = "1.00000000000000E+0000" ] || { echo "F3 was not saved: $table"; exit 1; }

xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }

start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key F4
sleep 0.3
read -r sound _ < "$work/Save.Bmp"
# Read back as off, the toggle turns the sound on again.
[ "$sound" = "0.00000000000000E+0000" ] || { echo "sound state not read back: $sound"; exit 1; }
xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }
echo "settings survived the restart"
