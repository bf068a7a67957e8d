#!/usr/bin/env bash
# On a dense screen (QT_SCALE_FACTOR, 2 unless given): the window keeps its
# layout in logical pixels, and after six heads the two markers light the
# bars of column 1 and row 1, whose crossing holds the button 1, exactly
# over their headings: as many green screen pixels as the 1x bars times the
# scale squared, spanning exactly the scaled box of the two headings.
# With TAYNOVID_SCREENSHOT set, the window's picture is kept there.
source "$(dirname "$0")/lib.sh"
command -v convert >/dev/null || { echo "convert is missing"; exit 77; }

scale=${3:-2}
export QT_SCALE_FACTOR=$scale
start_display 1600x1280
start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД" $((668 * scale)))
height=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, s, "x"); print s[2] }')
menu=$((height - 532 * scale))
[ "$menu" -gt 0 ] || { echo "the window is $height pixels high"; exit 1; }

# Sound off first: where no sound device answers, the fanfare's error box
# would cover the table.
focus "$window"
xdotool key F4
field_becomes 1 "1.00000000000000E+0000"

# ОРЁЛ of the normal mode lies at 12, 280 in the client area, 65 x 25.
for _ in 1 2 3 4 5 6; do
  xdotool mousemove --window "$window" $((40 * scale)) $((menu + 292 * scale)) click 1
  sleep 0.2
done
sleep 0.5
import -window "$window" "$work/shot.png"

green() { convert "$work/shot.png" -fill black +opaque 'rgb(0,255,0)' -fill white -opaque 'rgb(0,255,0)' "$@"; }
count=$(green -format '%[fx:round(mean*w*h)]' info:)
box=$(green -format '%@' info:)

# Trigram 1 is three solid bars of 32 x 3 layout pixels. In the client area
# the row heading's bars start at 264, 271 and the column heading's end at
# 335, 259 (table group at 172, 186, table picture at 46, 16 in it).
expected_count=$((2 * 3 * 32 * 3 * scale * scale))
expected_box="$((72 * scale))x$((53 * scale))+$((264 * scale))+$((menu + 239 * scale))"
if [ "$count" != "$expected_count" ] || [ "$box" != "$expected_box" ]; then
  echo "green pixels: $count in $box, expected $expected_count in $expected_box"
  exit 1
fi
if [ -n "${TAYNOVID_SCREENSHOT:-}" ]; then
  # Few colours keep the kept picture small.
  convert "$work/shot.png" -dither None -colors 64 "PNG8:$TAYNOVID_SCREENSHOT"
fi
echo "markers lit at scale $scale: $count green pixels in $box"
