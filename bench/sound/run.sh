#!/usr/bin/env bash
# Playback cost of the handheld's player next to aplay, both paced to real time:
#   bench/sound/run.sh [HANDHELD]   (default build/release/tools/handheld/handheld)
# - peak resident memory of `handheld play` with the null back-end for a 1 GB file and
#   for a 100 MB one of the same format (8 channels, 32-bit, 768 kHz: 1 GB lasts 44 s);
# - CPU seconds per second of audio for 30 s of 16-bit stereo 44.1 kHz;
# - the same for `aplay -D null`, fed at the file's rate by pace.py.
# The files are made in a temporary folder and removed afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
handheld=${1:-$here/../../build/release/tools/handheld/handheld}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$handheld" --device "$work/hh" init >/dev/null
"$handheld" --device "$work/hh" audio null >/dev/null

report() {  # label audio-seconds figures-file
  read -r rss user sys wall <"$3"
  awk -v l="$1" -v a="$2" -v r="$rss" -v u="$user" -v s="$sys" -v w="$wall" \
    'BEGIN { printf "%-36s peak RSS %7.1f MB  CPU %.4f s per audio second  (wall %.1f s for %.1f s)\n", l, r/1024, (u+s)/a, w, a }'
}

measure() {  # label audio-seconds command...
  local label=$1 seconds=$2
  shift 2
  /usr/bin/time -o "$work/figures" -f "%M %U %S %e" "$@" >/dev/null
  report "$label" "$seconds" "$work/figures"
}

measure_aplay() {  # label audio-seconds file: aplay's own figures, the pacer's not counted
  python3 "$here/pace.py" "$3" | /usr/bin/time -o "$work/figures" -f "%M %U %S %e" aplay -q -D null -
  report "$1" "$2" "$work/figures"
}

big_seconds=43.69  # 1 GiB at 24 576 000 bytes per second
python3 "$here/make_wav.py" "$work/big.wav" "$big_seconds" 768000 8 32
python3 "$here/make_wav.py" "$work/small.wav" 4.07 768000 8 32
python3 "$here/make_wav.py" "$work/cd.wav" 30 44100 2 16
ls -l "$work"/*.wav | awk '{ printf "  %s  %d bytes\n", $NF, $5 }'

measure "handheld play, 100 MB (null)" 4.07 "$handheld" --device "$work/hh" play "$work/small.wav"
measure "handheld play, 1 GB (null)" "$big_seconds" "$handheld" --device "$work/hh" play "$work/big.wav"
measure "handheld play, 30 s 44.1k (null)" 30 "$handheld" --device "$work/hh" play "$work/cd.wav"
measure_aplay "aplay -D null paced, 100 MB" 4.07 "$work/small.wav"
measure_aplay "aplay -D null paced, 1 GB" "$big_seconds" "$work/big.wav"
measure_aplay "aplay -D null paced, 30 s 44.1k" 30 "$work/cd.wav"
