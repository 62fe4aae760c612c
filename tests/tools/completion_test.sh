#!/usr/bin/env bash
# The bash completion the tool writes of itself, driven as bash drives it at a Tab: the
# words of the line so far in COMP_WORDS, the function called, COMPREPLY read back. Run
# with bash-completion's own helpers loaded (as a person's shell has them, where the
# package's completion is found) and without them.
set -euo pipefail
tool=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED ($mode): $*" >&2; exit 1; }
ln -s "$tool" "$work/kivo-handheld"
"$work/kivo-handheld" help --bash-completion >"$work/completion"
mkdir -p "$work/files/My Sounds"
touch "$work/files/My Sounds/ring.wav" "$work/files/one.wav"

# The words Tab offers after the words given, sorted, one to a line.
complete_line() {
  (cd "$work/files" && bash -c '
    [[ $1 == with ]] && source /usr/share/bash-completion/bash_completion
    source "$2"; shift 2
    COMP_WORDS=(kivo-handheld "$@"); COMP_CWORD=$#
    COMP_LINE="kivo-handheld $*"; COMP_POINT=${#COMP_LINE}
    _kivo_handheld
    printf "%s\n" "${COMPREPLY[@]}"' _ "$mode" "$work/completion" "$@") | sort
}
words() { complete_line "$@" | xargs; }

modes=(without)
[[ -f /usr/share/bash-completion/bash_completion ]] && modes+=(with)
for mode in "${modes[@]}"; do
  [[ "$(words alarm add 07:00 --days '')" == "daily fri mon once sat sun thu tue wed weekdays weekend" ]] ||
    fail "--days: $(words alarm add 07:00 --days '')"
  [[ "$(words alarm add 07:00 --days week)" == "weekdays weekend" ]] || fail "--days week"
  [[ "$(words alarm add 07:00 --sound x --volume '')" == "$(seq 1 10 | sort | xargs)" ]] || fail "--volume"
  [[ "$(words alarm add 07:00 --count 1)" == "1 10" ]] || fail "--count 1"
  [[ "$(words alarm add 07:00 --pause '')" == "$(printf '%s\n' 0 1 2 3 5 10 20 30 60 90 | sort | xargs)" ]] || fail "--pause"
  [[ "$(words alarm add 07:00 --replay 1)" == "1 10 15" ]] || fail "--replay 1"
  [[ "$(words tz set Europe/Berl)" == "Europe/Berlin" ]] || fail "tz set Europe/Berl: $(words tz set Europe/Berl)"
  [[ "$(words --device /tmp/hh init --profile s3)" == "s3c2410 s3c2440" ]] || fail "--profile s3"
  [[ "$(words autostart on --via s)" == "systemd" ]] || fail "--via s"
  [[ "$(words audio '')" == "alsa capture log null show" ]] || fail "audio"
  [[ "$(words ir pacing o)" == "off on" ]] || fail "ir pacing o"
  # File names: one with spaces stays one, whether typed bare, escaped or quoted.
  [[ "$(complete_line alarm add 07:00 --sound '')" == $'My Sounds\none.wav' ]] ||
    fail "--sound: $(complete_line alarm add 07:00 --sound '' | xargs -0)"
  [[ "$(complete_line alarm add 07:00 --sound 'My\ Sounds/r')" == "My Sounds/ring.wav" ]] ||
    fail "--sound My\\ Sounds/r: $(complete_line alarm add 07:00 --sound 'My\ Sounds/r')"
  [[ "$(complete_line cp '"My Sounds/')" == "My Sounds/ring.wav" ]] ||
    fail "cp \"My Sounds/: $(complete_line cp '"My Sounds/')"
  # Verbs and options as before.
  [[ "$(words ir s)" == "send show" ]] || fail "ir s"
  [[ "$(words --device /tmp/x sta)" == "start status" ]] || fail "sta after --device"
done
echo "completion ok (${modes[*]} bash-completion)"
