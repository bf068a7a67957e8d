#!/usr/bin/env bash
# Starts the program in an empty working folder, waits for its window,
# presses F12 and checks that the program has ended.
source "$(dirname "$0")/lib.sh"

start_display
start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
# No window manager runs here: focus the window and type through XTEST.
focus "$window"
xdotool key F12
if ! wait_for_exit 10; then
  echo "the program did not end after F12"
  exit 1
fi
echo "ended after F12"
