#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Spoken words as a learner hears them, in 听写训练: a plainly started private sound server
# (nothing plays between sounds, as on a learner's desktop) plays into a null sink whose
# monitor is recorded, on an X display with a session bus (run it under xvfb-run and
# dbus-run-session):
#   speech_heard.sh BUILD_DIR ARTEFACT_DIR
# Each word asked for (the first on opening, the next ones with Enter after a right answer,
# each again with Ctrl+R, the first also slowly with Ctrl+Shift+R) must be heard once and
# to its end: within 10 % of how long the voice's samples are voiced, the slow one at least
# 1.2 times that. Then, with no sound server, the window must say it cannot play the words
# and still take the answers.
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
start_sound_server "$sound" "$artefacts/pulseaudio-speech.log"
record_probe "$artefacts/speech.raw" plain &
recorder=$!
sleep 2.5

# Sounds 2 s apart, as a learner asks for them again (a stream per sound was cut short
# then), yet far enough apart that the recording, which may drop some of the silence
# between them, still parts them; the first is followed by 3 s, as the server drops the
# most when it first plays.
asked=()  # "word<TAB>pace" of each sound asked for
ask() {  # word pace key...
  asked+=("$1"$'\t'"$2")
  if [ $# -gt 2 ]; then xdotool key "${@:3}"; fi
  if [ ${#asked[@]} -eq 1 ]; then sleep 3; else sleep 2; fi
}
(cd / && exec "$app/grisholm.exe") > "$artefacts/dictation-speech.log" 2>&1 &
window=$(wait_for_window '^听写训练 — ')
xdotool windowfocus --sync "$window"
ask "${words[0]}" normal
ask "${words[0]}" normal ctrl+r
ask "${words[0]}" slow ctrl+shift+r
for i in 0 1 2; do
  xdotool type --delay 20 "${words[i]}"
  ask "${words[i + 1]}" normal Return
  ask "${words[i + 1]}" normal ctrl+r
done
kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true
kill "$(xdotool getwindowpid "$window")"

mapfile -t heard < <(python3 "$here/find_sounds.py" "$artefacts/speech.raw" 300 328)
[ "${#heard[@]}" -eq "${#asked[@]}" ] ||
  fail "${#asked[@]} words asked for, ${#heard[@]} heard (start ms, length ms: ${heard[*]})"
report=()
for i in "${!asked[@]}"; do
  IFS=$'\t' read -r word pace <<< "${asked[i]}"
  read -r voiced _ < <("$build/tests/voiced_length" "$word")
  read -r _ length <<< "${heard[i]}"
  report+=("$word $pace: $length ms of $voiced")
  if [ "$pace" = slow ]; then
    ((length * 10 >= voiced * 12)) ||
      fail "\"$word\" slowly lasted $length ms, less than 1.2 times its $voiced ms"
  else
    ((length * 10 >= voiced * 9 && length * 10 <= voiced * 11)) ||
      fail "\"$word\" (sound $((i + 1))) lasted $length ms, not within 10 % of its $voiced ms"
  fi
done
pass "each of the ${#asked[@]} words asked for was heard once, to its end: $(IFS=';'; echo "${report[*]}")"

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
