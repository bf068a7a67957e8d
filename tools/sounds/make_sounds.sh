#!/usr/bin/env bash
# Synthesises the program's two sounds with sox (Debian package "sox") and
# writes them to data/:
#   Fanfare.wav   - a short bright fanfare when a hexagram is complete
#   udalenie.wav  - a soft whoosh when the hexagram is cleared
# Both are 16-bit PCM, 44.1 kHz mono, plain RIFF/WAVE with only the fmt and
# data chunks (the player accepts nothing fancier). -R makes sox seed its
# noise and dither the same way every run, so the files are reproducible.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/data"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

SOX=(sox -R -V1)
FORMAT=(-r 44100 -c 1 -e signed-integer -b 16)

# One brass-like note: a sawtooth with a quieter octave, softened by a low
# pass, with a quick attack and a short release.
note() {  # file seconds frequency
    local file=$1 seconds=$2 freq=$3 octave
    octave=$(awk -v f="$freq" 'BEGIN { print 2 * f }')
    "${SOX[@]}" -n "${FORMAT[@]}" "$work/a.wav" synth "$seconds" sawtooth "$freq" gain -9
    "${SOX[@]}" -n "${FORMAT[@]}" "$work/b.wav" synth "$seconds" square "$octave" gain -20
    "${SOX[@]}" -m "$work/a.wav" "$work/b.wav" "${FORMAT[@]}" "$file" \
        lowpass 2600 fade q 0.015 "$seconds" 0.06
}

rest() {  # file seconds
    "${SOX[@]}" -n "${FORMAT[@]}" "$1" trim 0 "$2"
}

# G4 C5 E5 - G5 held, then the C major chord to close.
note "$work/n1.wav" 0.13 392.00
note "$work/n2.wav" 0.13 523.25
note "$work/n3.wav" 0.13 659.25
note "$work/n4.wav" 0.30 783.99
rest "$work/r.wav" 0.03
note "$work/c1.wav" 0.75 523.25
note "$work/c2.wav" 0.75 659.25
note "$work/c3.wav" 0.75 783.99
"${SOX[@]}" -m "$work/c1.wav" "$work/c2.wav" "$work/c3.wav" "${FORMAT[@]}" "$work/chord.wav" \
    fade q 0 0.75 0.45
"${SOX[@]}" "$work/n1.wav" "$work/r.wav" "$work/n2.wav" "$work/r.wav" "$work/n3.wav" \
    "$work/r.wav" "$work/n4.wav" "$work/r.wav" "$work/chord.wav" "${FORMAT[@]}" "$work/line.wav"
# The padding comes first so that the reverb has room to ring out.
"${SOX[@]}" "$work/line.wav" "${FORMAT[@]}" --comment "" "$out/Fanfare.wav" \
    pad 0 0.3 reverb 25 50 60 gain -n -1.5

# The whoosh: a band of pink noise bent downwards by more than an octave,
# swelling in and dying away. bend needs a moment to settle, so its start is
# cut off.
"${SOX[@]}" -n "${FORMAT[@]}" "$work/noise.wav" synth 0.65 pinknoise
"${SOX[@]}" "$work/noise.wav" "${FORMAT[@]}" --comment "" "$out/udalenie.wav" \
    sinc 500-4500 bend 0,-1300,0.55 trim 0.08 0.52 fade q 0.14 0.52 0.32 gain -n -6

for f in "$out/Fanfare.wav" "$out/udalenie.wav"; do
    head -c 44 "$f" | od -A n -c | tr -d ' \n' | grep -q 'RIFF.*WAVEfmt.*data' ||
        { echo "$f: not a plain RIFF/WAVE file" >&2; exit 1; }
done
echo "Wrote $out/Fanfare.wav and $out/udalenie.wav"
