#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A learner's session on a freshly installed application folder, driven with the mouse
# and keyboard through xdotool on an X display (run it under xvfb-run):
#   learner_session.sh BUILD_DIR ARTEFACT_DIR
# The menu opens; the pointer on "选 课" frames it; a click starts the chooser; book 2,
# lesson 3 is chosen with the keyboard and confirmed; the hand-off file must hold exactly
# that lesson; a study program started from the menu must show it. Screenshots are kept in
# ARTEFACT_DIR and checked by pixel probes at the layouts' places.
set -euo pipefail
build=$(cd "$1" && pwd)
artefacts=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artefacts"
app=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  pkill -f "$app/" 2>/dev/null || true
  rm -rf "$app"
}
trap cleanup EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

cmake --install "$build" --prefix "$app" > /dev/null

wait_for_window() {  # name pattern -> window id
  for _ in $(seq 1 150); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "no window named $1"
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

probe_violet() {  # image ox oy x y what
  local got r g b
  got=$(colour_at "$1" "$2" "$3" "$4" "$5")
  IFS=, read -r r g b <<< "$got"
  { [ "$b" -gt 200 ] && [ "$r" -gt "$g" ] && [ "$b" -gt "$r" ]; } ||
    fail "$6: expected a violet glow at ($4,$5), found $got"
  pass "$6"
}

geometry() {  # window id -> sets X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
}

# --- the menu
(cd / && exec "$app/lumadesk") > "$artefacts/lumadesk.log" 2>&1 &
pids+=($!)
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
shot_when menu "$mx" "$my" 5 430 "0,0,255"
probe menu "$mx" "$my" 400 472 "192,192,255" "menu background between buttons and panels"
probe menu "$mx" "$my" 5 5 "255,255,255" "banner at the top-left corner"
probe menu "$mx" "$my" 5 430 "0,0,255" "blue bar at the left edge"

xdotool mousemove $((mx + 400)) $((my + 100))
sleep 0.2
xdotool mousemove $((mx + 72)) $((my + 432))
shot_when menu-hover "$mx" "$my" 38 430 "0,0,255"
probe menu-hover "$mx" "$my" 38 430 "0,0,255" "frame left of the hovered 选 课 button"
probe menu-hover "$mx" "$my" 72 397 "0,0,255" "frame above the hovered button"
probe menu-hover "$mx" "$my" 5 430 "192,192,255" "the bar has left the edge"

# --- the chooser, started by the menu through pellimar.exe
xdotool click 1
chooser=$(wait_for_window '^选课 ')
pass "选 课 starts the chooser"
xdotool windowfocus --sync "$chooser"
sleep 0.5
xdotool key Down          # book 2; its first lesson opens
sleep 0.3
xdotool key Tab Tab       # past the hidden rebuild button to the lesson list
xdotool key Down Down     # lesson 2, then lesson 3
sleep 0.3
xdotool key Tab Tab       # past the entries to the confirm button
xdotool key space
wait_for_window '^提示窗口$' > /dev/null
geometry "$chooser"
cx=$X; cy=$Y
shot_when chooser-confirmed "$cx" "$cy" 3 3 "245,243,254"
xdotool key Return  # the box has the focus
sleep 0.3
[ -z "$(xdotool search --onlyvisible --name '^提示窗口$' || true)" ] || fail "选课成功! is still open"
pass "选课成功! dismissed with Enter"

probe chooser-confirmed "$cx" "$cy" 3 3 "245,243,254" "chooser background"
probe_violet chooser-confirmed "$cx" "$cy" 9 300 "left panel frame"
probe_violet chooser-confirmed "$cx" "$cy" 252 300 "right panel frame"

python3 "$here/expect_handoff.py" "$artefacts/expected_900_1.dat" \
  "$app/c1.dat:1" "$app/c1.dat:1" "$app/c2.dat:1" "$app/c2.dat:2" "$app/c2.dat:3"
cmp "$app/900_1.dat" "$artefacts/expected_900_1.dat" || fail "900_1.dat differs from the expected lesson"
pass "900_1.dat holds book 2, lesson 3, byte for byte"

# The learner leaves the chooser with its quit button, next to confirm.
xdotool windowfocus --sync "$chooser"
xdotool key Tab space
for _ in $(seq 1 50); do
  [ -z "$(xdotool search --onlyvisible --name '^选课 ' || true)" ] && break
  sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --name '^选课 ' || true)" ] || fail "退 出 left the chooser open"
pass "退 出 closes the chooser"

# --- a study program started from the menu shows the lesson handed off
lesson=$("$build/tools/coursetool" dump "$app/900_1.dat" | head -n 1 | cut -f 3)
xdotool windowfocus --sync "$menu"
xdotool mousemove $((mx + 180)) $((my + 432)) click 1
viewer=$(wait_for_window "^课文初记 — $lesson\$")
sleep 0.5
shot studyview
pass "课文初记 shows \"$lesson\" (window $viewer)"
echo "learner session: all checks passed"
