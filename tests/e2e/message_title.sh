#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The chooser's "选课成功!" box under a window manager (openbox) on an X display (run it
# under xvfb-run):
#   message_title.sh PICKWELL BOOK ARTEFACT_DIR
# The learner tabs to 确定 and presses Enter; the box's title "提示窗口" must be drawn
# whole, as wide as openbox draws the same title on a wide window.
set -euo pipefail
pickwell=$1
book=$2
artefacts=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artefacts"
# shellcheck source=session_lib.sh
source "$here/session_lib.sh"
app=$(mktemp -d)
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$app"' EXIT
cp "$pickwell" "$app/pickwell"
cp "$book" "$app/c1.dat"

openbox --sm-disable > "$artefacts/openbox.log" 2>&1 &
pids+=($!)
sleep 1
(cd / && exec "$app/pickwell") > "$artefacts/pickwell-title.log" 2>&1 &
pids+=($!)
main=$(wait_for_window "选课")
sleep 1

# The title bar of window `id` in screenshot `name`: how wide its title is drawn.
title_width() {  # name id
  local x y width extents left right top info
  # xwininfo gives the client's place on the screen, whatever frame holds it.
  info=$(xwininfo -id "$2")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<< "$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<< "$info")
  width=$(sed -n 's/.*Width: *//p' <<< "$info")
  extents=$(xprop -id "$2" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r left right top _ <<< "$extents"
  python3 "$here/title_ink.py" "$artefacts/$1.png" $((x - left)) $((y - top + 2)) \
    $((width + left + right)) $((top - 4))
}

# The same title on the wide chooser window, drawn whole.
name_window() { xprop -id "$1" -f _NET_WM_NAME 8u -set _NET_WM_NAME "$2"; }
name_window "$main" "提示窗口"
sleep 0.5
shot title-reference
reference=$(title_width title-reference "$main")
[ "$reference" -ge 20 ] || fail "no title found on the wide window ($reference px)"
name_window "$main" "选课"
sleep 0.3

xdotool key Tab Tab Tab Tab Return  # List3 -> Command1 -> List1 -> List2 -> 确定
box=$(wait_for_window "提示窗口")
sleep 0.5
shot title-box
drawn=$(title_width title-box "$box")
[ "$drawn" -ge $((reference - 2)) ] ||
  fail "the box's title is drawn $drawn px wide, whole it is $reference px (see title-box.png)"
pass "the box's title is drawn whole ($drawn px of $reference)"
xdotool key Return
wait_until_gone "提示窗口" "the box did not close with Enter"
pass "Enter closes the box"
