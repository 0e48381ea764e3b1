# SPDX-License-Identifier: MIT
# What the learner's sessions share, sourced by them: finding, probing and photographing
# windows on an X display with xdotool and ImageMagick, and the steps a learner takes from
# the menu. Set `artefacts` (a folder for screenshots) before sourcing.

fail() { echo "FAILED: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

pids=()  # whatever a session starts in the background, ended with it
# How the accessibility tree is read: by this user, or (set by the caller) as a learner on
# the learner's own session bus.
tree_reader=(/usr/bin/python3 "$(cd "$(dirname "${BASH_SOURCE[0]}")/../a11y" && pwd)/accessible_tree.py")

# A fresh application folder `app` installed from BUILD, and a folder `sound` for a private
# sound server; when the script ends, whatever the session started ends and both go.
start_session() {  # build
  app=$(mktemp -d)
  sound=$(mktemp -d)
  trap end_session EXIT
  cmake --install "$1" --prefix "$app" > /dev/null
}

end_session() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  pkill -f "$app/" 2>/dev/null || true
  # Only the session's own sound server, never the user's.
  if [ "${PULSE_RUNTIME_PATH:-}" = "$sound/run" ]; then pulseaudio --kill 2>/dev/null || true; fi
  rm -rf "$app" "$sound"
}

wait_for_window() {  # name pattern -> window id
  for _ in $(seq 1 150); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "no window named $1"
}

wait_until_gone() {  # name pattern what
  for _ in $(seq 1 50); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)" ] && return 0
    sleep 0.1
  done
  fail "$2"
}

# Screenshot of the whole display, kept as an artefact.
shot() { import -window root "$artefacts/$1.png"; }

# The colour at client point (x, y) of the window whose client origin is (ox, oy).
colour_at() {  # image ox oy x y -> "r,g,b"
  convert "$artefacts/$1.png" -format \
    "%[fx:int(255*p{$(($2 + $4)),$(($3 + $5))}.r+0.5)],%[fx:int(255*p{$(($2 + $4)),$(($3 + $5))}.g+0.5)],%[fx:int(255*p{$(($2 + $4)),$(($3 + $5))}.b+0.5)]" info:
}

probe() {  # image ox oy x y expected what
  local got
  got=$(colour_at "$1" "$2" "$3" "$4" "$5")
  [ "$got" = "$6" ] || fail "$7: expected $6 at ($4,$5), found $got"
  pass "$7"
}

# Takes screenshots until the colour at a client point is the expected one (a window
# may repaint a moment after the event), for at most five seconds.
shot_when() {  # image ox oy x y expected
  for _ in $(seq 1 25); do
    shot "$1"
    [ "$(colour_at "$1" "$2" "$3" "$4" "$5")" = "$6" ] && return 0
    sleep 0.2
  done
}

geometry() {  # window id -> sets X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
}

# Waits for the menu (started by the caller) to take its final size; sets menu, mx, my.
menu_ready() {
  menu=$(wait_for_window '^Zideviv--')
  xdotool windowfocus --sync "$menu"
  for _ in $(seq 1 50); do
    geometry "$menu"
    [ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 573 ] && break
    sleep 0.1
  done
  mx=$X; my=$Y
  [ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 573 ] || fail "menu is ${WIDTH}x${HEIGHT}, not 800x573"
  pass "menu takes its final size"
}

# Clicks 选 课 in the menu; sets chooser to the chooser's window.
open_chooser() {
  xdotool mousemove $((mx + 400)) $((my + 100))
  sleep 0.2
  xdotool mousemove $((mx + 72)) $((my + 432)) click 1
  chooser=$(wait_for_window '^选课 ')
  pass "选 课 starts the chooser"
  xdotool windowfocus --sync "$chooser"
  sleep 0.5
}

# With the keyboard only: the book BOOK places down the book list, then the lesson
# LESSON places down the lesson list (both 0 for the first), then confirm; leaves the
# "选课成功!" box open.
choose_and_confirm() {  # book lesson
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Down; sleep 0.3; done
  xdotool key Tab Tab       # past the hidden rebuild button to the lesson list
  for ((i = 0; i < $2; i++)); do xdotool key Down; sleep 0.3; done
  xdotool key Tab Tab       # past the entries to the confirm button
  xdotool key space
  wait_for_window '^提示窗口$' > /dev/null
}

dismiss_confirmation() {
  xdotool key Return  # the box has the focus
  wait_until_gone '^提示窗口$' "选课成功! is still open"
  pass "选课成功! dismissed with Enter"
}

# The hand-off a session of `choose_and_confirm book lesson` must leave, written to OUT.
expect_handoff() {  # out books_folder book lesson
  local views=("$2/c1.dat:1" "$2/c1.dat:1") i
  for ((i = 1; i <= $3; i++)); do views+=("$2/c$((i + 1)).dat:1"); done
  for ((i = 1; i <= $4; i++)); do views+=("$2/c$(($3 + 1)).dat:$((i + 1))"); done
  python3 "$(dirname "${BASH_SOURCE[0]}")/expect_handoff.py" "$1" "${views[@]}"
}

# The learner leaves the chooser with its quit button, next to confirm.
quit_chooser() {
  xdotool windowfocus --sync "$chooser"
  xdotool key Tab space
  wait_until_gone '^选课 ' "退 出 left the chooser open"
  pass "退 出 closes the chooser"
}

# Clicks 课文初记 in the menu; the study program must show LESSON. Sets study to its window.
study_shows() {  # lesson
  xdotool windowfocus --sync "$menu"
  xdotool mousemove $((mx + 180)) $((my + 432)) click 1
  study=$(wait_for_window "^课文初记 — $1\$")
  pass "课文初记 shows \"$1\" (window $study)"
}

# In 课文初记, with the keyboard only: each of COUNT cards shown (Space) and graded 良好 (3).
learn_with_keyboard() {  # count
  local i
  xdotool windowfocus --sync "$study"
  sleep 0.3
  for ((i = 0; i < $1; i++)); do
    xdotool key space; sleep 0.15
    xdotool key 3; sleep 0.15
  done
}

# A teacher's word list as a spreadsheet on a Chinese system saves it: GBK, CRLF, a header
# row, fields in quotes with a comma, a doubled quote inside; written to FILE. The entries
# it gives, as `handoff entries` prints them, go to FILE.expected.
write_word_list() {  # file
  printf '%s\r\n' '英文,中文,词性' '"harvest, crop","收成，庄稼",n.' 'borrow,借,v.' \
    '"say ""hi""",打招呼,phr.' | iconv -f UTF-8 -t GBK > "$1"
  printf '%s\n' $'harvest, crop\t收成，庄稼' $'borrow\t借' $'say "hi"\t打招呼' > "$1.expected"
}

# In 课程编辑, with the keyboard only: the word list FILE imported into the open first book
# as a new lesson LESSON, and the book saved. Sets editor to the window.
teacher_imports() {  # file lesson
  local dialog
  editor=$(wait_for_window '^课程编辑 — 大学英语精读第一册')
  xdotool windowfocus --sync "$editor"
  sleep 0.5
  xdotool key ctrl+i
  dialog=$(wait_for_window '^从文件导入$')
  xdotool windowfocus --sync "$dialog"
  sleep 0.3
  xdotool type --delay 20 "$1"
  xdotool key Return
  dialog=$(wait_for_window '^导入词条$')
  xdotool windowfocus --sync "$dialog"
  sleep 0.3
  # The Chinese name is pasted, as from an input method, whole: xdotool types a character
  # outside the keyboard map by remapping a key, and on a busy machine that loses some.
  printf '%s' "$2" | xclip -quiet -selection clipboard > /dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 1 50); do
    [ "$(xclip -o -selection clipboard 2> /dev/null)" = "$2" ] && break
    sleep 0.1
  done
  xdotool key ctrl+v
  xdotool key Return
  wait_until_gone '^导入词条$' "导入词条 did not take the lesson"
  xdotool windowfocus --sync "$editor"
  xdotool key ctrl+s
  sleep 0.5
  pass "课程编辑 imports $(basename "$1") as \"$2\" and saves, by keyboard"
}

# The chooser lists LESSON as the last lesson of the first book, after COUNT others; the
# learner chooses and confirms it, and the hand-off holds the entries of the word list FILE.
choose_imported_lesson() {  # count lesson handoff_file word_list
  open_chooser
  choose_and_confirm 0 "$1"
  dismiss_confirmation
  [ "$(handoff name "$3")" = "$2" ] || fail "the chooser handed off \"$(handoff name "$3")\", not \"$2\""
  handoff entries "$3" | cmp - "$4.expected" || fail "the hand-off of \"$2\" differs from the word list"
  pass "the chooser lists \"$2\" and hands off its $(wc -l < "$4.expected") entries"
  quit_chooser
}

# What the hand-off file holds: "name" the lesson's name, "entries" its entries, one
# "English<TAB>Chinese" line each.
handoff() {  # name|entries file
  python3 "$(dirname "${BASH_SOURCE[0]}")/handoff.py" "$1" "$2"
}

# What a screen reader reads of PROGRAM (run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on an
# accessibility bus): every control a learner reaches, list items aside, has a Chinese
# name, and each EXPECTED line pattern (role<TAB>name) is there. The tree is kept.
screen_reader_reads() {  # program what expected...
  local tree unnamed expected
  tree=$("${tree_reader[@]}" "$1") || fail "$1 is not on the accessibility bus"
  printf '%s\n' "$tree" > "$artefacts/a11y-$1-$2.txt"
  unnamed=$(awk -F'\t' '$4 == "focusable" && $2 != "list item" && $2 != "table cell"' <<< "$tree" |
            LC_ALL=C.UTF-8 grep -vP '^\d+\t[^\t]+\t[^\t]*\p{Han}' || true)
  [ -z "$unnamed" ] || fail "$2: controls without a Chinese name: $unnamed"
  for expected in "${@:3}"; do
    LC_ALL=C.UTF-8 grep -qP "^\d+\t$expected" <<< "$tree" || fail "$2: no \"$expected\" in the tree"
  done
  pass "a screen reader reads $2"
}

# What a screen reader finds on the screen of PROGRAM: each EXPECTED line pattern
# (role<TAB>name) must be a control that is showing, as on the end page of an activity.
# The screen is read again until all are there, for at most five seconds.
screen_reader_sees() {  # program what expected...
  local tree expected missing
  for _ in $(seq 1 25); do
    tree=$("${tree_reader[@]}" "$1") || fail "$1 is not on the accessibility bus"
    missing=
    for expected in "${@:3}"; do
      if ! awk -F'\t' '$5 == "showing"' <<< "$tree" |
          LC_ALL=C.UTF-8 grep -qP "^\d+\t$expected"; then
        missing=$expected
        break
      fi
    done
    [ -z "$missing" ] && break
    sleep 0.2
  done
  printf '%s\n' "$tree" > "$artefacts/a11y-$1-$2.txt"
  [ -z "$missing" ] || fail "$2: \"$missing\" is not on the screen"
  pass "a screen reader finds $2 on the screen"
}

# Starts the accessibility bus on this session bus (run under dbus-run-session) and has
# the programs started from here on publish their controls on it.
start_accessibility_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
  pids+=($!)
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# A sound server of the caller's own in FOLDER, with nothing but a null sink "probe" that
# is the default output, started plainly as on a learner's desktop: nothing plays between
# sounds, and the sink is suspended after five idle seconds. Record it with
# `record_probe FILE plain &`; stop with kill -INT. Its recordings
# may drop the silence between sounds, so judge counts and lengths of sounds from them,
# never gaps or onsets. `pulseaudio --kill` ends the server.
start_sound_server() {  # folder log
  export PULSE_RUNTIME_PATH=$1/run PULSE_STATE_PATH=$1/state HOME=$1
  pulseaudio --daemonize=yes --exit-idle-time=-1 --system=no -n \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=probe" \
    --load=module-suspend-on-idle --log-target=file:"$2" 2> /dev/null
  for _ in $(seq 1 50); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink probe
}

# Waits until the server has suspended its idle sink, as a desktop's is between sounds.
wait_for_suspended_sink() {
  for _ in $(seq 1 100); do
    pactl list sinks short | grep -q SUSPENDED && return 0
    sleep 0.1
  done
  fail "the sound server did not suspend its idle sink"
}

# The same server kept rendering with a short latency by a stream of zeros, so that its
# monitor delivers promptly and in time: for delays. Record with `record_probe FILE &`.
start_probe_server() {  # folder log
  start_sound_server "$1" "$2"
  pacat -p -d probe --latency-msec=10 --format=s16le --rate=16000 --channels=1 --raw /dev/zero &
  pids+=($!)
}

# Signed 16-bit mono at 16 kHz, raw, with a short latency, or with the server's own
# ("plain"); the first 1.5 s or so after it starts never arrive, so wait 2.5 s before
# anything worth hearing.
record_probe() {  # file [plain]
  local latency=(--latency-msec=20)
  if [ "${2:-}" = plain ]; then latency=(); fi
  exec parec -d probe.monitor "${latency[@]}" --format=s16le --rate=16000 --channels=1 \
    --raw > "$1"
}

# Clicks the menu's button whose centre is at client x (on the row of buttons) after
# coming from the background, and waits for the window named PATTERN; sets activity to it.
open_from_menu() {  # x pattern
  xdotool windowfocus --sync "$menu"
  xdotool mousemove $((mx + 400)) $((my + 100))
  sleep 0.2
  xdotool mousemove $((mx + $1)) $((my + 432)) click 1
  activity=$(wait_for_window "$2")
  xdotool windowfocus --sync "$activity"
  sleep 0.5
}

# Ends the activity's program and waits for its window to go.
close_activity() {
  kill "$(xdotool getwindowpid "$activity")"
  for _ in $(seq 1 50); do
    xdotool getwindowname "$activity" > /dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the window $activity did not close"
}

# The rounds a learner takes from the menu on a lesson, given as its "English<TAB>Chinese"
# lines; each ends on its end page, which must be what the screen shows and stay there
# until the learner chooses what comes next.

# 听写训练: the first word typed wrong, then every word right, the missed one last.
dictation_round() {  # lines...
  local line
  open_from_menu 396 '^听写训练 — '
  xdotool type --delay 40 "${1%%$'\t'*}x"; xdotool key Return; sleep 0.2
  xdotool key Return; sleep 0.2  # past the marked difference
  for line in "${@:2}" "$1"; do
    xdotool type --delay 40 "${line%%$'\t'*}"; xdotool key Return; sleep 0.2
  done
  screen_reader_sees studydesk "the end of 听写训练" "label\t听写结束：$(($# - 1)) / $#" \
    "push button\t再练一遍（Enter）" "push button\t关闭（Esc）"
  sleep 1
  screen_reader_sees studydesk "the end of 听写训练 a second later" "label\t听写结束："
  shot dictation-done
  xdotool key Return; sleep 0.3  # 再练一遍, by its own key
  screen_reader_sees studydesk "a new round of 听写训练" "label\t答对 0 / $#"
}

# 听力自测: each meaning picked with its key, read off the buttons as a screen reader.
listening_round() {  # lines...
  local line meaning key
  open_from_menu 504 '^听力自测 — '
  screen_reader_reads studydesk "听力自测" "push button\t1　" "push button\t再听一遍"
  for line in "$@"; do
    meaning=${line#*$'\t'}
    key=$("${tree_reader[@]}" studydesk |
          awk -F'\t' -v m="$meaning" '$2 == "push button" && $3 ~ ("　" m "$") {print substr($3, 1, 1)}')
    [ -n "$key" ] || fail "听力自测 offers no button for \"$meaning\""
    xdotool key "$key"; sleep 0.15
    screen_reader_sees studydesk "听力自测's verdict" "label\t✓ 正确" "push button\t$key　.*✓ 正确答案"
    xdotool key Return; sleep 0.15
  done
  screen_reader_sees studydesk "the end of 听力自测" "label\t听力自测结束：$# / $#" \
    "push button\t再练一遍（Enter）"
  shot listening-done
}

# 休闲打字: the whole text typed at one key every 100 ms, 120 words a minute; sets text.
typing_round() {  # lines...
  open_from_menu 612 '^休闲打字 — '
  screen_reader_reads studydesk "休闲打字" "filler\t照着上面的英文打字"
  text=$(printf '%s\n' "$@" | cut -f 1 | paste -sd ' ')
  xdotool type --delay 200 "$text"
  sleep 0.5
  screen_reader_sees studydesk "the end of 休闲打字" "label\t打完了！" "push button\t再练一遍（Enter）"
  shot typing-done
}
