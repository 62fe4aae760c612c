#!/usr/bin/env bash
# What KIVO costs while it waits: KIVO started on a fresh handheld with 10 and with 1000
# alarms, left alone, and the processor time it used over 30 s (the time its threads ran,
# in nanoseconds from /proc/PID/task/*/schedstat) as a share of one core.
#   bench/kivo/idle_cpu.sh [build/release] [SECONDS] [ALARMS ...]
set -euo pipefail
build=$(cd "${1:-build/release}" && pwd)
seconds=${2:-30}
shift $(($# > 2 ? 2 : $#))
counts=("$@")
((${#counts[@]})) || counts=(10 1000)
handheld="$build/tools/handheld/handheld"
[[ -x "$handheld" && -x "$build/package/KIVO" ]] || { echo "build KIVO and handheld first" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

# Nanoseconds on a processor, over the threads alive now (KIVO's threads live as long as it).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d", sum }'; }

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
    before=$(cpu_ns "$pid")
    sleep "$seconds"
    after=$(cpu_ns "$pid")
    kill "$pid" 2>/dev/null || true
    "$handheld" stop >/dev/null 2>&1 || true
    rm -rf "$KIVO_DEVICE"
    awk -v a="$alarms" -v t=$((after - before)) -v s="$seconds" \
        'BEGIN { printf "KIVO idle, %5d alarms: %6.3f %% of a core over %d s (%.1f ms)\n", a, 100 * t / 1e9 / s, s, t / 1e6 }'
}

for alarms in "${counts[@]}"; do measure "$alarms"; done
