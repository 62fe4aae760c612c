#!/usr/bin/env bash
# What KIVO costs while it waits: KIVO started on a fresh handheld with 10 and with 1000
# alarms, left alone, and the processor time it used over 30 s (user + system, from
# /proc/PID/stat) as a share of one core.
#   bench/kivo/idle_cpu.sh [build/release] [SECONDS] [ALARMS ...]
set -euo pipefail
build=$(cd "${1:-build/release}" && pwd)
seconds=${2:-30}
shift $(($# > 2 ? 2 : $#))
counts=("$@")
((${#counts[@]})) || counts=(10 1000)
handheld="$build/tools/handheld/handheld"
[[ -x "$handheld" && -x "$build/package/KIVO" ]] || { echo "build KIVO and handheld first" >&2; exit 1; }
ticks=$(getconf CLK_TCK)
export QT_QPA_PLATFORM=offscreen

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
    local alarms=$1
    export KIVO_DEVICE
    KIVO_DEVICE=$(mktemp -d /tmp/kivo-idle-XXXXXX)
    "$handheld" init >/dev/null
    "$handheld" install >/dev/null
    "$handheld" alarm add 06:30 --days weekdays --description "Radio on" >/dev/null
    # The others are copies of the first, made beside the handheld's tools: one process
    # per alarm would take longer than the measurement.
    local folder="$KIVO_DEVICE/fs/Program Files/KIVO/Alarms"
    local first
    first=$(ls "$folder"/*.kivo | head -1)
    for ((n = 2; n <= alarms; n++)); do cp --preserve=xattr "$first" "$folder/$((1000 + n)).kivo"; done
    "$handheld" run '\Program Files\KIVO\KIVO.exe' </dev/null >/dev/null 2>&1
    local pid=""
    # Its window up (the list read) is when KIVO has started.
    for _ in $(seq 300); do
        pid=$("$handheld" ps 2>/dev/null | awk '/KIVO\.exe/ && /"KIVO"/ { print $1; exit }')
        [[ -n "$pid" ]] && break
        sleep 0.1
    done
    [[ -n "$pid" ]] || { echo "KIVO did not start" >&2; exit 1; }
    sleep 3  # the start-up (list read, first picture, wake-up registered) is not idle time
    local before after
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    kill "$pid" 2>/dev/null || true
    "$handheld" stop >/dev/null 2>&1 || true
    rm -rf "$KIVO_DEVICE"
    awk -v a="$alarms" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" \
        'BEGIN { printf "KIVO idle, %5d alarms: %6.2f %% of a core over %d s (%d ticks of 1/%d s)\n", a, 100 * t / hz / s, s, t, hz }'
}

for alarms in "${counts[@]}"; do measure "$alarms"; done
