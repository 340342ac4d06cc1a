#!/usr/bin/env bash
# Makes five short demo WAV files and a MIDI tune in the folder (default demo/sounds) when it
# holds no WAV file.
set -euo pipefail
cd "$(dirname "$0")/.."
sounds=${1:-demo/sounds}

shopt -s nullglob nocaseglob
wav_files=("$sounds"/*.wav)
shopt -u nullglob nocaseglob
[ ${#wav_files[@]} -eq 0 ] || exit 0

echo "Making demo sounds in $sounds"
mkdir -p "$sounds"
# 8-bit mono at 11 kHz keeps each a few KB; ':' joins the notes of one sound.
wav() { sox -n -r 11025 -b 8 -c 1 "$sounds/$1" "${@:2}"; }
wav ding.wav synth 0.6 sine 1568 fade p 0 0.6 0.55
wav chime.wav synth 0.25 sine 1047 fade p 0 0.25 0.22 : synth 0.25 sine 1319 fade p 0 0.25 0.22 \
    : synth 0.5 sine 1568 fade p 0 0.5 0.45
wav doorbell.wav synth 0.45 sine 659 fade p 0 0.45 0.4 : synth 0.7 sine 523 fade p 0 0.7 0.63
ha=(lowpass 1800 fade q 0.01 0.14 0.06 pad 0 0.07)
wav laugh.wav synth 0.14 sawtooth 330 "${ha[@]}" : synth 0.14 sawtooth 311 "${ha[@]}" \
    : synth 0.14 sawtooth 294 "${ha[@]}" : synth 0.14 sawtooth 262 "${ha[@]}"
wav applause.wav synth 1.2 pinknoise tremolo 11 70 fade q 0.05 1.2 0.5 vol 0.7
# One note, as a standard MIDI file of type 0: 96 ticks a beat, note on, note off, end of track.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\14\0\220\110\144\140\200\110\100\0\377\57\0' \
    >"$sounds/tune.mid"
