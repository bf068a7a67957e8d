#!/usr/bin/env bash
# Two machines' journals kept in step through one shared folder, the two
# programs running side by side, each in a working folder of its own: a
# cast on the first, its question edited on the second, a note on the
# first, the entry deleted on the second. After each step both journals
# hold the same entries, and once they agree neither writes its file again.
source "$(dirname "$0")/lib.sh"

binary=$1 run_dir=$2
shared=$work/shared
mkdir -p "$shared"
start_display 1500x900

launch() {  # launch NAME OTHER_WINDOW…: starts NAME, prints its main window
  mkdir -p "$work/$1"
  cp -r "$run_dir/Text" "$work/$1/"
  automatic_settings "$work/$1/Save.Bmp"
  printf 'syncFolder=%s\n' "$shared" >"$work/$1/Preferences.txt"
  (cd "$work/$1" && QT_QPA_PLATFORM=xcb exec "$binary") >>"$work/program.log" 2>&1 &
  program_pid="$program_pid $!"
  wait_for_window "ТАЙНОВИД" 668 "${@:2}"
}

# journal WINDOW KEY…: opens the journal window over the main one, sends
# the keys to it, and closes it.
journal() {
  focus "$1"
  xdotool key ctrl+j
  local window
  window=$(wait_for_window "Журнал гаданий" "[0-9]*")
  focus "$window"
  xdotool key --delay 60 "${@:2}"
  sleep 0.3
  focus "$window"
  xdotool key Escape
  sleep 0.3
}

entries() {  # entries NAME: the journal's rows as the merge compares them
  sqlite3 "$work/$1/Journal.db" "SELECT uuid, question, note FROM casts ORDER BY uuid" 2>/dev/null
}

# in_step WHAT: waits until the first journal's rows are WHAT (a pattern
# that the uuid stands in for) and the second's are the same.
in_step() {
  local a="" b=""
  for _ in $(seq 300); do
    a=$(entries a || true) b=$(entries b || true)
    # shellcheck disable=SC2053 # WHAT is a pattern
    [[ $a == $1 ]] && [ "$a" = "$b" ] && return 0
    sleep 0.1
  done
  echo "not in step: the first holds \"$a\", the second \"$b\", wanted \"$1\"" >&2
  return 1
}

a=$(launch a)
b=$(launch b "$a")
xdotool windowmove --sync "$b" 780 0  # side by side: a click meets the window meant
# The window opens with the search field focused, and opens again with the
# field last left.
journal "$b" shift  # the second's journal opens and watches the folder

press_generator "$a" 6
in_step '????????????????????????????????||'
echo "the cast reached the second"

journal "$b" Tab Tab Tab Tab ctrl+a f r o m space b Tab  # the question, left for the note
in_step '????????????????????????????????|from b|'
echo "the question edited on the second reached the first"

journal "$a" Tab Tab Tab Tab Tab n o t e space a Tab
in_step '????????????????????????????????|from b|note a'
echo "the note made on the first reached the second"

journal "$b" shift+Tab shift+Tab Delete Tab space  # the list; «Да» a Tab from «Нет»
in_step ''
echo "the deletion on the second reached the first"

# In step, each has merged the other's last file: neither writes again.
sleep 6
before=$(stat -c '%n %Y %i' "$shared"/*.taynovid-journal)
[ "$(wc -l <<<"$before")" = 2 ] || { echo "files in the folder: $before"; exit 1; }
sleep 11
after=$(stat -c '%n %Y %i' "$shared"/*.taynovid-journal)
[ "$before" = "$after" ] || { echo "written again: $before / $after"; exit 1; }
echo "in step, and quiet"
