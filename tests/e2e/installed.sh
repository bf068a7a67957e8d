#!/usr/bin/env bash
# The installed program as a desktop user meets it: installed under a
# temporary prefix, started by its command from an unrelated folder with a
# home of its own. tests/e2e/installed.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"

prefix="$work/prefix"
cmake --install "$1" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/ru.taynovid.Taynovid.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/ru.taynovid.Taynovid.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$prefix/share/metainfo/ru.taynovid.Taynovid.metainfo.xml"

# The sound module is loaded from beside the program.
[ -f "$prefix/libexec/taynovid/libtaynovid_audio.so" ] || { echo "the sound module is not beside the program"; exit 1; }

mine="$work/home/.local/share/taynovid"
mkdir -p "$work/home" "$work/elsewhere"
unset XDG_DATA_HOME

# start_installed [VARIABLE=VALUE…]: the installed command, as a menu starts it.
start_installed() {
  (cd "$work/elsewhere" && exec env HOME="$work/home" "$@" QT_QPA_PLATFORM=xcb "$prefix/bin/taynovid") \
    >"$work/program.log" 2>&1 &
  program_pid=$!
}

# reading_of_button COLUMN ROW: clicks that table button and prints the
# first line of the reading area, read through the clipboard.
reading_of_button() {
  local lefts=(137 175 215 255 294 334 374 414) tops=(88 120 152 184 215 247 279 311)
  local menu=$(($(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x//p') - 532))
  xdotool mousemove --window "$window" $((172 + ${lefts[$1 - 1]} + 8)) $((menu + 186 + ${tops[$2 - 1]} + 8)) click 1
  sleep 0.3
  xdotool mousemove --window "$window" 300 $((menu + 60)) click 1
  local text
  text=$(copy_text ctrl+a ctrl+c)
  printf '%s\n' "${text%%$'\n'*}"
}

quit() {
  xdotool key F12
  wait_for_exit 10 || { echo "the program did not end after F12"; exit 1; }
}

start_display
start_installed
window=$(wait_for_window "ТАЙНОВИД")
# The window carries the application icon, in the sizes drawn for it.
icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
[ "$icons" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) " ] || { echo "window icons: $icons"; exit 1; }
focus "$window"
[ "$(reading_of_button 1 1)" = "Гексаграмма 1. Творчество (Цянь)" ] || { echo "table button 1 shows no reading"; exit 1; }
quit
saved=$(cd "$work" && find . -name Save.Bmp)
[ "$saved" = "./home/.local/share/taynovid/Save.Bmp" ] || { echo "Save.Bmp written at: $saved"; exit 1; }
[ -L "$mine/Text/Text65.dat" ] && [ -L "$mine/Fanfare.wav" ] || { echo "the shared files are not linked"; exit 1; }

# A hand-edited settings file and a reading of the user's own survive a start.
edited=' 1.00000000000000E+0000  1.00000000000000E+0000  1.00000000000000E+0000  2.00000000000000E+0000  1.10000000000000E+0001  1.00000000000000E+0000 14 255 16777215 1 Times New Roman'
printf '%s\r\n' "$edited" >"$mine/Save.Bmp"
rm "$mine/Text/Text1.dat"
printf '\xcc\xee\xe9 \xf2\xe5\xea\xf1\xf2\r\n' >"$mine/Text/Text1.dat"  # "Мой текст" in Windows-1251
cp "$mine/Text/Text1.dat" "$work/own.dat"
start_installed
window=$(wait_for_window "ТАЙНОВИД")
focus "$window"
[ "$(reading_of_button 1 1)" = "Мой текст" ] || { echo "the user's own reading is not shown"; exit 1; }
# The edited settings cast automatically: a whole hexagram goes into the
# journal in the user's folder.
press_generator "$window" 6
quit
[ "$(sqlite3 "$mine/Journal.db" 'SELECT count(*), mode FROM casts')" = "1|1" ] ||
  { echo "the cast is not in the user's journal"; ls -la "$mine"; exit 1; }
cmp -s "$mine/Text/Text1.dat" "$work/own.dat" || { echo "the user's own reading was changed"; exit 1; }
[ "$(head -c -2 "$mine/Save.Bmp")" = "$edited" ] || { echo "the edited settings were lost:"; cat "$mine/Save.Bmp"; exit 1; }

# A folder that cannot be made: the error box names it, nothing is lost.
mkdir "$work/blocked"
echo keep >"$work/blocked/taynovid"
start_installed XDG_DATA_HOME="$work/blocked"
box=""
for _ in $(seq 250); do
  box=$(xdotool search --onlyvisible --name '^ТАЙНОВИД$' 2>/dev/null | head -1 || true)
  [ -n "$box" ] && break
  sleep 0.02
done
[ -n "$box" ] || { echo "no error box"; cat "$work/program.log"; exit 1; }
grep -qF "Cannot prepare folder \"$work/blocked/taynovid\". Not a directory." "$work/program.log" ||
  { echo "wrong message:"; cat "$work/program.log"; exit 1; }
focus "$box"
xdotool key Return
wait_for_exit 10 || { echo "the error box did not close"; exit 1; }
[ "$(cat "$work/blocked/taynovid")" = keep ] || { echo "the file in the way was changed"; exit 1; }
echo "installed program starts in the user's folder"
