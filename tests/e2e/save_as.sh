#!/usr/bin/env bash
# «Сохранить как…» in the real program: the PDF filter left selected, a name
# typed as .html is written as HTML, a bare name as a PDF whose properties
# name the hexagram, the date, the program and the language.
source "$(dirname "$0")/lib.sh"
command -v pdfinfo >/dev/null || { echo "pdfinfo missing (poppler-utils)"; exit 77; }

start_display
start_automatic "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
focus "$window"
press_generator "$window" 6

# save_as NAME FILE: Ctrl+S, the name typed into the dialog, Return; waits
# for FILE.
save_as() {
  focus "$window"
  xdotool key ctrl+s
  local dialog=""
  for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name "^Сохранить как\$" 2>/dev/null | head -n1 || true)
    [ -n "$dialog" ] && break
    sleep 0.05
  done
  [ -n "$dialog" ] || { echo "no «Сохранить как» dialog"; exit 1; }
  focus "$dialog"
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
  for _ in $(seq 100); do
    [ -s "$2" ] && return 0
    sleep 0.1
  done
  echo "nothing written to $2:"; ls "$work"; exit 1
}

save_as "$work/cast.html" "$work/cast.html"
[ ! -e "$work/cast.html.pdf" ] || { echo "the filter's suffix was added to cast.html"; exit 1; }
grep -q '<html lang="ru">' "$work/cast.html" || { echo "cast.html is not the HTML page"; exit 1; }

save_as "$work/cast" "$work/cast.pdf"
info=$(pdfinfo "$work/cast.pdf")
title=$(sed -n 's/^Title: *//p' <<<"$info")
case "$title" in
  "Гексаграмма "[0-9]*". "*" — "*", "[0-9][0-9]:[0-9][0-9]) ;;
  *) echo "title: $title"; exit 1 ;;
esac
grep -q '^Creator: *ТАЙНОВИД 1.0$' <<<"$info" || { echo "$info"; exit 1; }
grep -aq '/Lang (ru)' "$work/cast.pdf" || { echo "no language"; exit 1; }
[ -n "${SHOT:-}" ] && pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/cast.pdf" "${SHOT%.png}"

focus "$window"
xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }
echo "saved as typed: cast.html, cast.pdf «$title»"
