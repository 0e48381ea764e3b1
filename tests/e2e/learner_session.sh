#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A learner's session on a freshly installed application folder, as the user running the
# test, driven with the mouse and keyboard through xdotool on an X display with a session
# bus (run it under xvfb-run and dbus-run-session):
#   learner_session.sh BUILD_DIR ARTEFACT_DIR
# The menu opens; the pointer on "选 课" frames it; a click starts the chooser; book 2,
# lesson 3 is chosen with the keyboard and confirmed; the hand-off file must hold exactly
# that lesson, in the application folder; a study program started from the menu must show
# it; the study programs are used on it. Then a teacher's step: 课程编辑 imports a
# spreadsheet's word list into book 1 as a new lesson and saves, by keyboard; the chooser
# lists that lesson and 课文初记 learns it. Screenshots are kept in ARTEFACT_DIR and checked by pixel probes at the layouts'
# places; what a screen reader reads of each window is checked over the accessibility bus.
set -euo pipefail
build=$(cd "$1" && pwd)
artefacts=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artefacts"
# shellcheck source=session_lib.sh
source "$here/session_lib.sh"
start_session "$build"

probe_violet() {  # image ox oy x y what
  local got r g b
  got=$(colour_at "$1" "$2" "$3" "$4" "$5")
  IFS=, read -r r g b <<< "$got"
  { [ "$b" -gt 200 ] && [ "$r" -gt "$g" ] && [ "$b" -gt "$r" ]; } ||
    fail "$6: expected a violet glow at ($4,$5), found $got"
  pass "$6"
}

start_accessibility_bus

# --- the menu
(cd / && exec "$app/lumadesk") > "$artefacts/lumadesk.log" 2>&1 &
pids+=($!)
menu_ready
shot_when menu "$mx" "$my" 5 430 "0,0,255"
probe menu "$mx" "$my" 400 472 "192,192,255" "menu background between buttons and panels"
probe menu "$mx" "$my" 5 5 "255,255,255" "banner at the top-left corner"
probe menu "$mx" "$my" 5 430 "0,0,255" "blue bar at the left edge"
screen_reader_reads lumadesk "the menu" "push button\t选 课" "push button\t退 出" \
  "filler\t网站页面（左）" "filler\t网站页面（中）" "filler\t网站页面（右）"

xdotool mousemove $((mx + 400)) $((my + 100))
sleep 0.2
xdotool mousemove $((mx + 72)) $((my + 432))
shot_when menu-hover "$mx" "$my" 38 430 "0,0,255"
probe menu-hover "$mx" "$my" 38 430 "0,0,255" "frame left of the hovered 选 课 button"
probe menu-hover "$mx" "$my" 72 397 "0,0,255" "frame above the hovered button"
probe menu-hover "$mx" "$my" 5 430 "192,192,255" "the bar has left the edge"

# --- the chooser, started by the menu through pellimar.exe
open_chooser
screen_reader_reads pickwell "the chooser" "list\t课本（册）" "list\t这一册的课" \
  "list\t这一课的词条" "push button\t确 定" "push button\t退 出"
choose_and_confirm 1 2
geometry "$chooser"
cx=$X; cy=$Y
shot_when chooser-confirmed "$cx" "$cy" 3 3 "245,243,254"
screen_reader_reads pickwell "the confirmation" "label\t选课成功!" "push button\t确定"
dismiss_confirmation

probe chooser-confirmed "$cx" "$cy" 3 3 "245,243,254" "chooser background"
probe_violet chooser-confirmed "$cx" "$cy" 9 300 "left panel frame"
probe_violet chooser-confirmed "$cx" "$cy" 252 300 "right panel frame"

expect_handoff "$artefacts/expected_900_1.dat" "$app" 1 2
cmp "$app/900_1.dat" "$artefacts/expected_900_1.dat" || fail "900_1.dat differs from the expected lesson"
pass "900_1.dat holds book 2, lesson 3, byte for byte"
quit_chooser

# --- 课文初记, started from the menu, shows the lesson handed off and is learned with the
# keyboard; every answer is in the learner's store
study_shows "$(handoff name "$app/900_1.dat")"
shot study-first-card
screen_reader_reads studydesk "课文初记" "push button\t显示释义（空格）"
entries=$(handoff entries "$app/900_1.dat" | wc -l)
learn_with_keyboard "$entries"
screen_reader_sees studydesk "the end of 课文初记" "label\t学完了！这次学了 $entries 条" \
  "push button\t再学一遍（R）"
shot study-done
answers=$("$app/studytool" log | wc -l)
[ "$answers" -eq "$entries" ] || fail "studytool log shows $answers answers, $entries given"
pass "studytool log shows all $entries answers of the lesson"
kill "$(xdotool getwindowpid "$study")"

# --- 复习回忆: nothing is due yet, and it says when the first cards fall due
open_from_menu 288 '^复习回忆$'
screen_reader_sees studydesk "复习回忆 with nothing due" "label\t现在没有要复习的词条。 下一条在 "
close_activity

# --- 听写训练, 听力自测 and 休闲打字, each to its end
mapfile -t lesson < <(handoff entries "$app/900_1.dat")
dictation_round "${lesson[@]}"
close_activity
listening_round "${lesson[@]}"
close_activity
typing_round "${lesson[@]}"
close_activity

"$app/studytool" results > "$artefacts/results.txt"
python3 - "$artefacts/results.txt" "${#lesson[@]}" "${#text}" <<'PY' || fail "studytool results: $(cat "$artefacts/results.txt")"
import sys
rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1])]
entries, characters = int(sys.argv[2]), int(sys.argv[3])
assert [r[1] for r in rows] == ["dictation", "listening", "typing"], rows
assert rows[0][3:5] == [str(entries - 1), str(entries)], rows[0]
assert rows[1][3:5] == [str(entries), str(entries)], rows[1]
assert rows[2][3:5] == [str(characters), str(characters)], rows[2]
figures = dict(item.split("=") for item in rows[2][6].split())
assert abs(float(figures["wpm"]) - 120) <= 12, figures
assert float(figures["accuracy"]) == 1.0, figures
PY
pass "studytool results: dictation $((${#lesson[@]} - 1)) / ${#lesson[@]}, listening all right, typing at $(cut -f 7 "$artefacts/results.txt" | tail -n 1)"
# --- the teacher's step: a GBK spreadsheet imported in 课程编辑 as a new lesson of book 1,
# saved; the chooser lists it and 课文初记 learns it
lesson_name="第五周 收获"
write_word_list "$artefacts/word-list.csv"
lessons_before=$(handoff lessons "$app/c1.dat" | wc -l)
(cd / && exec "$app/coursedesk") > "$artefacts/coursedesk.log" 2>&1 &
pids+=($!)
teacher_imports "$artefacts/word-list.csv" "$lesson_name"
shot coursedesk-saved
screen_reader_reads coursedesk "课程编辑" "label\t已保存到 $app/c1.dat" "list\t这一册的课" \
  "table\t这一课的词条" "list\t检查结果"
[ "$(handoff lessons "$app/c1.dat" | tail -n 1)" = "$lesson_name" ] ||
  fail "c1.dat does not end with the lesson \"$lesson_name\""
pass "c1.dat in the application folder ends with \"$lesson_name\""
kill "$(xdotool getwindowpid "$editor")"
choose_imported_lesson "$lessons_before" "$lesson_name" "$app/900_1.dat" "$artefacts/word-list.csv"
answers_before=$("$app/studytool" log | wc -l)
study_shows "$lesson_name"
learn_with_keyboard 3
answers=$("$app/studytool" log | wc -l)
[ $((answers - answers_before)) -eq 3 ] || fail "课文初记 kept $((answers - answers_before)) answers of 3"
pass "课文初记 learns the imported lesson: 3 answers kept"
kill "$(xdotool getwindowpid "$study")"
echo "learner session: all checks passed"
