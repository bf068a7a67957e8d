# Shared by the whole-program tests: a private X display, a fresh working
# folder holding the run folder's data, and the program started in it.
set -euo pipefail

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=""
program_pid=""

# A command that fails a test says which it was; the program's own output
# follows it.
trap 'echo "${BASH_SOURCE[0]##*/}:$LINENO: failed: $BASH_COMMAND" >&2' ERR

cleanup() {
  local status=$?
  if [ "$status" != 0 ] && [ -s "$work/program.log" ]; then
    echo "--- the program printed:" >&2
    cat "$work/program.log" >&2
  fi
  # shellcheck disable=SC2086 # one program's id, or several
  [ -n "$program_pid" ] && kill $program_pid 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" 2>/dev/null || true
}
trap cleanup EXIT

# start_display [WIDTHxHEIGHT]: Xvfb picks a free display itself and writes
# its number once it is ready; -noreset keeps it from restarting between one
# program and the next.
start_display() {
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$work/display" ]; then
      export DISPLAY=":$(tr -d '[:space:]' < "$work/display")"
      return 0
    fi
    sleep 0.1
  done
  echo "Xvfb did not start"; exit 1
}

# copy_run_data RUN_DIR: the readings and sounds into the working folder.
copy_run_data() {
  cp -r "$1/Text" "$work/" 2>/dev/null || true
  cp "$1"/*.wav "$work/" 2>/dev/null || true
}

# start_program BINARY RUN_DIR: copies the readings and sounds, starts it.
start_program() {
  copy_run_data "$2"
  (cd "$work" && QT_QPA_PLATFORM=xcb exec "$1") >"$work/program.log" 2>&1 &
  program_pid=$!
}

# wait_for_window TITLE [WIDTH [OTHER…]]: prints the id of the main window,
# 668 screen pixels wide unless told, once it is mapped (an error box
# carries the same title); not one of the OTHER windows already there.
wait_for_window() {
  local others=" ${*:3} "
  for _ in $(seq 500); do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true); do
      [ "${others/ $id /}" = "$others" ] || continue
      if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: ${2:-668}x"; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.02
  done
  echo "no window named $1" >&2
  cat "$work/program.log" >&2
  return 1
}

# wait_for_exit SECONDS: succeeds once the program has ended.
wait_for_exit() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$program_pid" 2>/dev/null || { program_pid=""; return 0; }
    sleep 0.1
  done
  return 1
}

# focus WINDOW: gives it the keyboard and waits until the program has it.
focus() {
  for _ in $(seq 50); do
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && { sleep 0.2; return 0; }
    sleep 0.1
  done
  echo "window $1 did not take the focus" >&2
  return 1
}

# field_becomes N VALUE: waits until field N (1-based) of Save.Bmp is VALUE.
field_becomes() {
  local value=""
  for _ in $(seq 50); do
    value=$(awk -v n="$1" '{ print $n }' "$work/Save.Bmp" 2>/dev/null || true)
    [ "$value" = "$2" ] && return 0
    sleep 0.1
  done
  echo "field $1 of Save.Bmp is \"$value\", not \"$2\"" >&2
  return 1
}

# copy_text KEY…: sends the keys (a select-all and a copy) and prints what
# reached the clipboard, waiting for the program to put it there. Take its
# first line with ${text%%$'\n'*}, not `| head -1`: under pipefail, head
# leaving early fails the pipe when the text is long.
copy_text() {
  printf 'nothing copied yet' | xclip -selection clipboard -i >/dev/null 2>&1
  xdotool key "$@"
  local text
  for _ in $(seq 50); do
    text=$(xclip -selection clipboard -o 2>/dev/null | tr -d '\r' || true)
    if [ -n "$text" ] && [ "$text" != "nothing copied yet" ]; then
      printf '%s\n' "$text"
      return 0
    fi
    sleep 0.1
  done
  echo "nothing reached the clipboard" >&2
  return 1
}

# The settings of an automatic caster: automatic mode, sound off, the rest
# as the defaults have it.
automatic_settings() {
  printf ' 1.00000000000000E+0000  1.00000000000000E+0000  1.00000000000000E+0000  2.00000000000000E+0000  1.10000000000000E+0001  1.00000000000000E+0000 11 0 12632256 0 Times New Roman\r' >"$1"
}

# press_generator WINDOW TIMES: clicks «Генератор случайности» in the full view.
press_generator() {
  local menu=$(($(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: [0-9]*x//p') - 532))
  for _ in $(seq "$2"); do
    xdotool mousemove --window "$1" 84 $((menu + 292)) click 1
    sleep 0.15
  done
}

# start_automatic BINARY RUN_DIR: the program in automatic mode, as above.
start_automatic() {
  mkdir -p "$work"
  automatic_settings "$work/Save.Bmp"
  start_program "$1" "$2"
}
