#!/usr/bin/env bash
# The package as a person gets it: made by CPack, checked by lintian, unpacked by
# dpkg-deb far from the build tree, and used from there, by a person of its own (a home
# of its own, the default handheld), to make a handheld on which an alarm rings, rung by
# the service the package's systemd user unit starts. Its menu entry, icons and
# completion are then checked as a desktop and a person's Tab would see them.
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
root="$work/root"
tool="$root/usr/bin/kivo-handheld"
# The home the package was built in, which nothing of the package may name.
build_home=$HOME
export HOME="$work/home"
# No desktop session: the programs make do without the session's runtime folder.
unset KIVO_DEVICE XDG_DATA_HOME XDG_CONFIG_HOME XDG_RUNTIME_DIR
device="$HOME/.local/share/kivo/device"
finish() {
  [[ -x "$tool" && -d "$device" ]] && "$tool" stop >/dev/null 2>&1 || true
  # The reminder rings for an hour unanswered: it must not outlive the handheld.
  pkill -KILL -f -- "$device/fs/" || true
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# Runs a command with the source and build trees out of sight, where the kernel lets a
# user make a mount namespace; elsewhere as it is.
without_trees() {
  if unshare --map-root-user --mount true 2>/dev/null; then
    unshare --map-root-user --mount bash -c 'mount -t tmpfs none "$1" && mount -t tmpfs none "$2" && shift 2 && exec "$@"' \
      _ "$build" "$source" "$@"
  else
    "$@"
  fi
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/out/kivo_*.deb)
[[ -f "$deb" ]] || fail "no kivo_VERSION_ARCH.deb in $(ls "$work/out")"

# No error, and no warning but those the README names with the reason for each.
lintian -I --pedantic --fail-on error,warning "$deb" | tee "$work/lintian.log"
# Built with Debian's default hardening (fortified calls, read-only relocations, PIE).
! grep -E 'hardening-no-(fortify-functions|relro|pie)' "$work/lintian.log" || fail "the programs lack Debian's hardening"
# postinst gives the packaged service the capability that lets it wake the computer.
dpkg-deb -I "$deb" postinst | grep -q 'setcap cap_wake_alarm+p "\$service"' || fail "postinst sets no CAP_WAKE_ALARM"
dpkg-deb -x "$deb" "$root"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in usr/lib/systemd/user/kivo.service usr/lib/systemd/user/kivo@.service usr/share/applications/kivo.desktop \
  usr/share/icons/hicolor/48x48/apps/kivo.png usr/share/icons/hicolor/256x256/apps/kivo.png \
  usr/share/icons/hicolor/scalable/apps/kivo.svg; do
  grep -qx "./$file" <<<"$contents" || fail "the package has no /$file"
done
desktop-file-validate "$root/usr/share/applications/kivo.desktop" || fail "the package's menu entry"
# Nothing of the build tree may be needed: the unpacked tool must name only its own files.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the dependencies were not computed"

"$tool" --version | grep -q "$(dpkg-deb -f "$deb" Version)" || fail "--version"
"$tool" init >/dev/null
without_trees "$tool" install --menu >"$work/install.out" || { cat "$work/install.out"; fail "install --menu from the package"; }
grep -q 'installed \\Program Files\\KIVO\\Alert.exe' "$work/install.out" || fail "install from the package"
for icon in 48x48/apps/kivo.png 256x256/apps/kivo.png scalable/apps/kivo.svg; do
  cmp -s "$root/usr/share/icons/hicolor/$icon" "$HOME/.local/share/icons/hicolor/$icon" ||
    fail "install --menu did not put the package's $icon in the person's icons"
done
entry="$HOME/.local/share/applications/kivo.desktop"
desktop-file-validate "$entry" || fail "the menu entry install --menu wrote"
grep -qF -- "--device \"$device\" run " "$entry" || fail "the menu entry does not start KIVO on this handheld"
"$tool" audio capture >/dev/null
# From the package, `autostart on` enables the package's template for this handheld, by the
# name systemd gives its path, and writes no unit of its own.
instance="kivo@$(systemd-escape --path "$device").service"
XDG_CONFIG_HOME="$work/config" "$tool" autostart on --via systemd >"$work/autostart.out" ||
  { cat "$work/autostart.out"; fail "autostart on"; }
[[ "$(readlink "$work/config/systemd/user/default.target.wants/$instance")" == "$root/usr/lib/systemd/user/kivo@.service" ]] ||
  fail "autostart on did not enable $instance of the package's template: $(ls -l "$work/config/systemd/user/default.target.wants")"
[[ ! -e "$work/config/systemd/user/kivo@.service" ]] || fail "autostart on wrote a template beside the package's"
XDG_CONFIG_HOME="$work/config" "$tool" autostart status | grep -qF "systemd user unit $instance starts the handheld at $device (this one)" ||
  fail "autostart status does not list $instance"
XDG_CONFIG_HOME="$work/config" "$tool" autostart off >/dev/null
[[ ! -e "$work/config/systemd/user/default.target.wants/$instance" ]] || fail "autostart off left $instance enabled"
"$tool" ir pacing off >/dev/null
"$tool" time set "2026-03-07 06:45:00" >/dev/null
"$tool" alarm add 07:00 --description "From the package" >/dev/null

"$tool" autostart status | grep -q "the package's systemd user unit kivo.service starts this handheld, not enabled" ||
  fail "autostart status does not name the package's unit: $("$tool" autostart status)"

# The user unit, as the user manager would run it for this person, its paths below the
# unpacked tree rather than /.
unit="$work/kivo.service"
sed "s|/usr/lib/kivo/|$root/usr/lib/kivo/|g" "$root/usr/lib/systemd/user/kivo.service" >"$unit"
if command -v systemd-analyze >/dev/null; then
  mkdir -m 700 "$work/runtime"
  verdict=$(XDG_RUNTIME_DIR="$work/runtime" systemd-analyze verify --user --man=no "$unit" 2>&1) || true
  [[ -z "$verdict" ]] || fail "systemd-analyze verify: $verdict"
  # The template, as the instance `autostart on` enables loads it.
  mkdir "$work/units"
  sed "s|/usr/lib/kivo/|$root/usr/lib/kivo/|g" "$root/usr/lib/systemd/user/kivo@.service" >"$work/units/kivo@.service"
  ln -s kivo@.service "$work/units/$instance"
  verdict=$(XDG_RUNTIME_DIR="$work/runtime" systemd-analyze verify --user --man=no "$work/units/$instance" 2>&1) || true
  [[ -z "$verdict" ]] || fail "systemd-analyze verify $instance: $verdict"
fi
condition=$(sed -n 's/^ConditionPathExists=//p' "$unit")
[[ -e "${condition//%h/$HOME}" ]] || fail "the unit's condition $condition does not hold for the default handheld"
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
read -ra words <<<"${exec_start//%h/$HOME}"
"${words[@]}" >"$work/unit.out" 2>&1 &
service=$!
# The process the unit started keeps the service in a child of its own, which it starts
# again should it crash: the handheld's service is that child.
unit_runs_service() {
  local running
  running=$("$tool" status | sed -n 's/.*notification service running, process \([0-9]*\)$/\1/p')
  [[ -n "$running" ]] && [[ "$running" == "$service" || "$(ps -o ppid= -p "$running" | tr -d ' ')" == "$service" ]]
}
for _ in $(seq 300); do
  unit_runs_service && break
  kill -0 "$service" 2>/dev/null || { cat "$work/unit.out"; fail "the unit's service ended"; }
  sleep 0.1
done
unit_runs_service ||
  fail "the unit's service is not the default handheld's: $("$tool" status | grep 'notification service')"
"$tool" time set "2026-03-07 06:59:58" >/dev/null
for _ in $(seq 600); do
  grep -q 'Alert.exe' "$device/log/programs.log" 2>/dev/null && "$tool" ps | grep -q KIVOAlert && break
  sleep 0.1
done
"$tool" ps | grep -q KIVOAlert || { cat "$device/log/programs.log"; fail "the alarm did not ring"; }
[[ -f "$device/log/Alert.out" ]] && ! grep -q XDG_RUNTIME_DIR "$device/log/Alert.out" || fail "the reminder complains: $(cat "$device/log/Alert.out")"
"$tool" stop >/dev/null
wait "$service" || fail "the unit's service did not end well on stop"

# KIVO starts the service on demand with what `start` chose: the package's.
service=$("$tool" start | sed -n 's/.*running, process \([0-9]*\)$/\1/p')
[[ -n "$service" ]] || fail "the notification service did not start"
[[ "$(readlink "/proc/$service/exe")" == "$root/usr/lib/kivo/kivo_notify_service" ]] ||
  fail "the service runs $(readlink "/proc/$service/exe"), not the package's"

man -l "$root/usr/share/man/man1/kivo-handheld-alarm.1.gz" 2>/dev/null | grep -q 'kivo-handheld alarm add 07:30' ||
  fail "the alarm page does not show its example under the installed name"
page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/kivo-handheld.1.gz" 2>/dev/null)
grep -q 'kivo-handheld - Creates, drives and inspects a simulated handheld: a directory holding its file system, registry, clock and settings\.$' <<<"$page" ||
  fail "the NAME line of kivo-handheld(1): $(grep -A1 NAME <<<"$page")"
grep -qF '~/.local/share/kivo/device' <<<"$page" || fail "kivo-handheld(1) does not name the default handheld"
! zcat "$root"/usr/share/man/man1/*.gz | grep -qF "$build_home/" || fail "a manual page names the build's home $build_home"

complete_line() {  # the words Tab offers after the words given, sorted
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kivo_handheld; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$root/usr/share/bash-completion/completions/kivo-handheld" kivo-handheld "$@" | sort | xargs
}
[[ "$(complete_line ir s)" == "send show" ]] || fail "ir s -> $(complete_line ir s)"
[[ "$(complete_line --device /tmp/x sta)" == "start status" ]] || fail "sta after --device"
[[ " $(complete_line alarm add 07:00 --) " == *" --sound "* ]] || fail "alarm add options"
[[ "$(complete_line help tim)" == "time" ]] || fail "help tim"
[[ "$(complete_line alarm add 07:00 --days week)" == "weekdays weekend" ]] || fail "alarm add --days"
echo "package ok: $(basename "$deb")"
