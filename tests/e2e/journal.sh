#!/usr/bin/env bash
# The journal in the real program: six automatic presses leave one row in
# Journal.db whose lines follow from its coins by the rule and whose
# hexagram is the reading the window shows.
source "$(dirname "$0")/lib.sh"

start_display
start_automatic "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
focus "$window"
menu=$(($(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x//p') - 532))
press_generator "$window" 6
xdotool mousemove --window "$window" 300 $((menu + 60)) click 1
shown=$(copy_text ctrl+a ctrl+c)
shown=${shown%%$'\n'*}
xdotool key F12
wait_for_exit 10 || { echo "the program did not end"; exit 1; }

rows=$(sqlite3 "$work/Journal.db" 'SELECT lines, coins, hexagram, mode FROM casts')
[ "$(wc -l <<<"$rows")" = 1 ] || { echo "rows: $rows"; exit 1; }
IFS='|' read -r lines coins hexagram mode <<<"$rows"
[ "$mode" = 1 ] || { echo "mode $mode"; exit 1; }
read -ra numbers <<<"$coins"
[ "${#numbers[@]}" = 18 ] || { echo "coins: $coins"; exit 1; }
expected=""
for line in 0 1 2 3 4 5; do
  odd=0
  for coin in 0 1 2; do odd=$((odd + numbers[line * 3 + coin] % 2)); done
  expected+=$(case $odd in 3) echo 9 ;; 2) echo 7 ;; 1) echo 8 ;; 0) echo 6 ;; esac)
done
[ "$lines" = "$expected" ] || { echo "lines $lines do not follow from the coins ($expected)"; exit 1; }
[ "${shown#Гексаграмма $hexagram. }" != "$shown" ] || { echo "row's hexagram $hexagram, window shows: $shown"; exit 1; }
echo "one row: $lines, hexagram $hexagram, as shown"
