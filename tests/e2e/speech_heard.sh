#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Spoken words as a learner hears them, in 听写训练: a private sound server plays into a
# null sink whose monitor is recorded, on an X display with a session bus (run it under
# xvfb-run and dbus-run-session):
#   speech_heard.sh BUILD_DIR ARTEFACT_DIR
# Each word asked for (the first on opening, the next ones with Enter after a right answer,
# one again with Ctrl+R) must be heard once. Then, with no sound server, the window must
# say it cannot play the words and still take the answers.
set -euo pipefail
build=$(cd "$1" && pwd)
artefacts=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artefacts"
# shellcheck source=session_lib.sh
source "$here/session_lib.sh"
start_session "$build"
python3 "$here/expect_handoff.py" "$app/900_1.dat" "$app/c1.dat:1" "$app/c1.dat:1"
mapfile -t lesson < <(handoff entries "$app/900_1.dat")
words=("${lesson[@]%%$'\t'*}")
meanings=("${lesson[@]#*$'\t'}")
start_accessibility_bus
start_probe_server "$sound" "$artefacts/pulseaudio-speech.log"
record_probe "$artefacts/speech.raw" &
recorder=$!
sleep 2.5

(cd / && exec "$app/grisholm.exe") > "$artefacts/dictation-speech.log" 2>&1 &
window=$(wait_for_window '^听写训练 — ')
xdotool windowfocus --sync "$window"
sleep 1.2
asked=1
for word in "${words[@]:0:4}"; do
  xdotool type --delay 20 "$word"
  xdotool key Return
  asked=$((asked + 1))
  sleep 1.2
done
xdotool key ctrl+r
asked=$((asked + 1))
sleep 1.5
kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true
kill "$(xdotool getwindowpid "$window")"

mapfile -t heard < <(python3 "$here/find_sounds.py" "$artefacts/speech.raw" 300)
[ "${#heard[@]}" -eq "$asked" ] ||
  fail "$asked words asked for, ${#heard[@]} heard (start ms, length ms: ${heard[*]})"
pass "each of the $asked words asked for was heard once"

# No sound server: a note, and the words stand in as text.
pulseaudio --kill
sleep 0.5
(cd / && exec "$app/grisholm.exe") > "$artefacts/dictation-silent.log" 2>&1 &
window=$(wait_for_window '^听写训练 — ')
screen_reader_reads studydesk "听写训练 without sound" "label\t无法播放读音：" \
  "label\t请写出：${meanings[0]}"
xdotool windowfocus --sync "$window"
xdotool type --delay 20 "${words[0]}"
xdotool key Return
sleep 0.3
screen_reader_reads studydesk "听写训练 going on without sound" "label\t✓ "
kill "$(xdotool getwindowpid "$window")"
pass "without a sound server 听写训练 says so and goes on with text"
