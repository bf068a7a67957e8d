#!/usr/bin/env bash
# Preferences survive a restart: the first start writes the defaults, F4
# and F3 are written at once, F12 closes, and the next start reads them back.
source "$(dirname "$0")/lib.sh"

defaults=' 0.00000000000000E+0000  3.00000000000000E+0000  1.00000000000000E+0000  2.00000000000000E+0000  1.10000000000000E+0001  1.00000000000000E+0000 11 0 12632256 0 Times New Roman'
on="0.00000000000000E+0000"
off="1.00000000000000E+0000"

start_display
start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
[ "$(cat "$work/Save.Bmp")" = "$defaults"$'\r' ] || { echo "defaults not written"; od -c "$work/Save.Bmp" | head; exit 1; }

focus "$window"
xdotool key F4
field_becomes 1 "$off"
xdotool key F3
field_becomes 4 "1.00000000000000E+0000"
xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }

start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
field_becomes 1 "$off"
focus "$window"
# Read back as off, the toggle turns the sound on again.
xdotool key F4
field_becomes 1 "$on"
field_becomes 4 "1.00000000000000E+0000"
xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }
echo "settings survived the restart"
