#!/usr/bin/env bash
# Sound comes out: with a PulseAudio null sink as the only output, six heads
# in the normal mode end with the fanfare, recorded from the sink's monitor.
source "$(dirname "$0")/lib.sh"

for tool in pulseaudio parec pactl; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
  --load="module-null-sink sink_name=nullsink" --load=module-native-protocol-unix \
  >"$work/pulse.log" 2>&1 &
pulse_pid=$!
record_pid=""
trap 'kill $pulse_pid $record_pid 2>/dev/null || true; wait $pulse_pid 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start"; cat "$work/pulse.log"; exit 1; }

start_display
start_program "$1" "$2"
window=$(wait_for_window "ТАЙНОВИД")
field_becomes 2 "3.00000000000000E+0000"

parec --device=nullsink.monitor --format=s16le --rate=44100 --channels=1 --raw "$work/sound.raw" &
record_pid=$!
sleep 0.5

# The client area lies under the menu bar; ОРЁЛ is at 12, 280 in it.
height=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, s, "x"); print s[2] }')
menu=$((height - 532))
for _ in 1 2 3 4 5 6; do
  xdotool mousemove --window "$window" 40 $((menu + 292)) click 1
  sleep 0.2
done
sleep 2.5
kill "$record_pid"; wait "$record_pid" 2>/dev/null || true

# Silence is all zero bytes; the fanfare is not.
loud=$(od -An -v -td2 -w2 "$work/sound.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > 1000) n++ } END { print n + 0 }')
if [ "$loud" -lt 4410 ]; then
  echo "no fanfare was heard ($loud loud samples)"; cat "$work/program.log"; exit 1
fi
grep -q "No sound output" "$work/program.log" && { echo "the program found no sound output"; exit 1; }
echo "the fanfare played: $loud loud samples"
