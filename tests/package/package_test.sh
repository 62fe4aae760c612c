#!/usr/bin/env bash
# The package as a person gets it: made by CPack, checked by lintian, unpacked by
# dpkg-deb far from the build tree, and used from there to make a handheld on which an
# alarm rings. Its completion is then asked what a person's Tab would get.
set -euo pipefail
build=$1
work=$(mktemp -d)
tool="$work/root/usr/bin/kivo-handheld"
export KIVO_DEVICE="$work/device"
finish() {
  [[ -x "$tool" && -d "$KIVO_DEVICE" ]] && "$tool" stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/out/kivo_*.deb)
[[ -f "$deb" ]] || fail "no kivo_VERSION_ARCH.deb in $(ls "$work/out")"

lintian --fail-on error "$deb" | tee "$work/lintian.log"
dpkg-deb -x "$deb" "$work/root"
# Nothing of the build tree may be needed: the unpacked tool must name only its own files.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the dependencies were not computed"

"$tool" --version | grep -q "$(dpkg-deb -f "$deb" Version)" || fail "--version"
"$tool" init >/dev/null
"$tool" install | grep -q 'installed \\Program Files\\KIVO\\Alert.exe' || fail "install from the package"
"$tool" audio capture >/dev/null
"$tool" ir pacing off >/dev/null
"$tool" time set "2026-03-07 06:45:00" >/dev/null
"$tool" alarm add 07:00 --description "From the package" >/dev/null
service=$("$tool" start | sed -n 's/.*running, process \([0-9]*\)$/\1/p')
[[ -n "$service" ]] || fail "the notification service did not start"
[[ "$(readlink "/proc/$service/exe")" == "$work/root/usr/lib/kivo/kivo_notify_service" ]] ||
  fail "the service runs $(readlink "/proc/$service/exe"), not the package's"
"$tool" time set "2026-03-07 06:59:58" >/dev/null
for _ in $(seq 600); do
  grep -q 'Alert.exe' "$KIVO_DEVICE/log/programs.log" 2>/dev/null && "$tool" ps | grep -q KIVOAlert && break
  sleep 0.1
done
"$tool" ps | grep -q KIVOAlert || { cat "$KIVO_DEVICE/log/programs.log"; fail "the alarm did not ring"; }

man -l "$work/root/usr/share/man/man1/kivo-handheld-alarm.1.gz" 2>/dev/null | grep -q 'kivo-handheld alarm add 07:30' ||
  fail "the alarm page does not show its example under the installed name"

complete_line() {  # the words Tab offers after the words given, sorted
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kivo_handheld; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$work/root/usr/share/bash-completion/completions/kivo-handheld" kivo-handheld "$@" | sort | xargs
}
[[ "$(complete_line ir s)" == "send show" ]] || fail "ir s -> $(complete_line ir s)"
[[ "$(complete_line --device /tmp/x sta)" == "start status" ]] || fail "sta after --device"
[[ " $(complete_line alarm add 07:00 --) " == *" --sound "* ]] || fail "alarm add options"
[[ "$(complete_line help tim)" == "time" ]] || fail "help tim"
echo "package ok: $(basename "$deb")"
