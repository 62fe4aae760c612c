#!/usr/bin/env bash
# The system calls one alarm-file read makes: kivo_alarm_read under `strace -c` with
# 1 and with 1 + N reads, the difference divided by N, per call and in total.
#   bench/alarms/read_syscalls.sh [build/release/bench/kivo_alarm_read] [N]
set -euo pipefail
program=${1:-build/release/bench/kivo_alarm_read}
rounds=${2:-1000}
command -v strace >/dev/null || { echo "needs strace (apt-get install strace)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# strace -c rows: % time, seconds, usecs/call, calls, [errors], syscall.
parse() {
    awk '$1 ~ /^[0-9.]+$/ { calls = $4; name = $NF; if (name != "total") print name, calls }' "$work/out"
}
strace -f -c -o "$work/out" "$program" 1 >/dev/null; parse >"$work/one"
strace -f -c -o "$work/out" "$program" $((rounds + 1)) >/dev/null; parse >"$work/many"
awk -v n="$rounds" '
    FNR == NR { one[$1] = $2; next }
    { d = ($2 - one[$1]) / n; if (d >= 0.05) { printf "%8.2f  %s\n", d, $1; total += d } }
    END { printf "%8.2f  total system calls per alarm-file read\n", total }
' "$work/one" "$work/many" | sort -rn
