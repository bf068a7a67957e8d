#!/usr/bin/env bash
# «Толкование» in the real program: six automatic presses, Ctrl+T, and the
# window's text read back through the clipboard; Ctrl+B's dialog opens too.
source "$(dirname "$0")/lib.sh"

start_display
start_automatic "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
focus "$window"
press_generator "$window" 6
xdotool key ctrl+t
shown=$(wait_for_window "Толкование" 680)
focus "$shown"
[ -n "${SHOT:-}" ] && import -window "$shown" "$SHOT"
text=$(copy_text ctrl+a ctrl+c)
case "$text" in
  "Изменяющиеся черты"*|"Изменяющихся черт нет"*) ;;
  *) echo "unexpected «Толкование» text: $text"; exit 1 ;;
esac
xdotool key Escape
focus "$window"
xdotool key ctrl+b
for _ in $(seq 100); do
  xdotool search --onlyvisible --name "^Свой бросок\$" >/dev/null 2>&1 && break
  sleep 0.05
done
xdotool search --onlyvisible --name "^Свой бросок\$" >/dev/null || { echo "no own-throw dialog"; exit 1; }
xdotool key Escape
sleep 0.2
focus "$window"
xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }
echo "«Толкование» showed the cast: ${text%%$'\n'*}"
