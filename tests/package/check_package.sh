#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Debian package as a packager and as its users would:
#   check_package.sh PACKAGE.deb [ARTEFACT_DIR]
# its files, dependencies and lintian's verdict; then, as root on an X display (run it under
# xvfb-run), installs it with apt, starts each desktop entry's program, runs a learner's
# session from the menu as each of two ordinary users that it creates (each choice lands
# in that user's own folder and nowhere else), has the first one make a lesson in 课程编辑
# from a spreadsheet (the book lands in that user's folder, the installed one stays) and
# learn it; runs the installed class server on a PostgreSQL cluster of its own, to which the
# first one's progress goes from their store and comes back whole on a second device; and
# removes the package, which must leave no file of its own behind.
set -euo pipefail
deb=$(realpath "$1")
artefacts=${2:-$(mktemp -d)}
mkdir -p "$artefacts"
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/session_lib.sh
source "$here/../e2e/session_lib.sh"
# shellcheck source=../hub/class_server.sh
source "$here/../hub/class_server.sh"

app=/usr/lib/lumadesk
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in .$app/lumadesk .$app/pickwell .$app/studydesk .$app/studytool .$app/coursedesk \
            .$app/pellimar.exe .$app/studyhub ./usr/lib/systemd/system/studyhub.service \
            .$app/kestavel.exe .$app/1.wav .$app/c1.dat .$app/c4.dat \
            ./usr/share/applications/com.zuvizuz.Lumadesk.desktop \
            ./usr/share/applications/com.zuvizuz.Pickwell.desktop \
            ./usr/share/applications/com.zuvizuz.Coursedesk.desktop \
            ./usr/share/metainfo/com.zuvizuz.Lumadesk.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/com.zuvizuz.Lumadesk.svg \
            ./usr/share/icons/hicolor/48x48/apps/com.zuvizuz.Lumadesk.png \
            ./usr/share/doc/lumadesk/copyright ./usr/share/doc/lumadesk/changelog.gz; do
  grep -qxF "$file" <<< "$contents" || fail "the package lacks $file"
done
pass "the package holds the application folder, the desktop files and its documentation"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6webenginewidgets6 libqt6multimedia6 libqt6widgets6 libqt6svg6 \
              gstreamer1.0-plugins-good fonts-wqy-microhei qt6-translations-l10n \
              libpq5 libcpp-httplib0.11 libsodium23 libssl3; do
  grep -q "$needed" <<< "$depends" || fail "Depends lacks $needed: $depends"
done
pass "Depends: $depends"

# No error and no warning; nothing is overridden.
lintian --fail-on error,warning --no-override "$deb" > "$artefacts/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$artefacts/lintian.txt")"
pass "lintian finds no error and no warning"

if [ "$(id -u)" -ne 0 ] || [ -z "${DISPLAY:-}" ]; then
  echo "skipped: installing the package and creating its test users need root and a display"
  exit 0
fi

learners=(lumadesk-learner-a lumadesk-learner-b)
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -f "${reader:-}"
  for learner in "${learners[@]}"; do
    pkill -u "$learner" 2>/dev/null || true
    userdel -r "$learner" > /dev/null 2>&1 || true
  done
  [ -z "${hub_folder:-}" ] || stop_class_server "$hub_folder"
  dpkg-query -W lumadesk > /dev/null 2>&1 && apt-get remove -y -qq lumadesk > /dev/null
  true
}
trap cleanup EXIT

apt-get install -y -qq "$deb" > /dev/null
pass "apt installs the package"
for entry in com.zuvizuz.Lumadesk com.zuvizuz.Pickwell com.zuvizuz.Coursedesk; do
  command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$entry.desktop")
  (cd / && exec $command) > /dev/null 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$window" ] || fail "$entry: $command shows no window"
  pass "$entry starts $command"
done

# An ordinary user with a home of their own, allowed on this display.
make_learner() {  # name
  userdel -r "$1" > /dev/null 2>&1 || true
  useradd --create-home --shell /bin/bash "$1"
  local home
  home=$(getent passwd "$1" | cut -d: -f6)
  runuser -u "$1" -- touch "$home/.Xauthority"
  xauth -f "${XAUTHORITY:-$HOME/.Xauthority}" nlist "$DISPLAY" |
    runuser -u "$1" -- xauth -f "$home/.Xauthority" nmerge -
}

# The accessibility tree reader, where every learner may run it.
reader=$(mktemp /tmp/accessible_tree.XXXXXX.py)
cp "$here/../a11y/accessible_tree.py" "$reader"
chmod 755 "$reader"

# A desktop entry's program as LEARNER, in a login-like environment of their own with a
# session bus and an accessibility bus, which the tree reader then reads as them.
start_entry_as() {  # learner entry
  local home command bus
  home=$(getent passwd "$1" | cut -d: -f6)
  command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$2.desktop")
  bus=$(cd / && runuser -u "$1" -- env -i HOME="$home" PATH=/usr/bin:/bin \
          dbus-daemon --session --fork --print-address=1)
  local as_learner=(runuser -u "$1" -- env -i DISPLAY="$DISPLAY" XAUTHORITY="$home/.Xauthority"
                    HOME="$home" USER="$1" LOGNAME="$1" PATH=/usr/bin:/bin LANG=C.UTF-8
                    DBUS_SESSION_BUS_ADDRESS="$bus")
  (cd / && exec "${as_learner[@]}" /usr/libexec/at-spi-bus-launcher --launch-immediately) \
    > /dev/null 2>&1 &
  pids+=($!)
  (cd / && exec "${as_learner[@]}" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 $command) \
    > "$artefacts/$2-$1.log" 2>&1 &
  pids+=($!)
  tree_reader=("${as_learner[@]}" /usr/bin/python3 "$reader")
}

start_menu_as() {  # learner
  start_entry_as "$1" com.zuvizuz.Lumadesk
}

# LEARNER chooses BOOK and LESSON (places down each list) from the menu, learns it in
# 课文初记 and takes a round of each other activity to its end, all from the menu.
session_as() {  # learner book lesson
  local home handoff lesson entries
  home=$(getent passwd "$1" | cut -d: -f6)
  handoff=$home/.local/share/lumadesk/900_1.dat
  start_menu_as "$1"
  menu_ready
  open_chooser
  choose_and_confirm "$2" "$3"
  dismiss_confirmation
  expect_handoff "$artefacts/expected-$1.dat" "$app" "$2" "$3"
  cmp "$handoff" "$artefacts/expected-$1.dat" || fail "$1: $handoff differs from the lesson chosen"
  [ "$(stat -c %U "$handoff")" = "$1" ] || fail "$1: $handoff is not the learner's own"
  [ ! -e "$app/900_1.dat" ] || fail "$1: the choice was written into $app"
  pass "$1: book $(($2 + 1)), lesson $(($3 + 1)) landed in $handoff, byte for byte"
  quit_chooser
  lesson=$(handoff name "$handoff")
  mapfile -t entries < <(handoff entries "$handoff")
  study_shows "$lesson"
  learn_with_keyboard "${#entries[@]}"
  screen_reader_sees studydesk "$1: the end of 课文初记" "label\t学完了！" "push button\t再学一遍（R）"
  [ "$(runuser -u "$1" -- env HOME="$home" "$app/studytool" log | wc -l)" -eq "${#entries[@]}" ] ||
    fail "$1: the answers are not in the learner's store"
  [ -f "$home/.local/share/lumadesk/study.db" ] && [ ! -e "$app/study.db" ] ||
    fail "$1: the store is not in the learner's own folder"
  pass "$1: answers of 课文初记 kept in the learner's own store"
  kill "$(xdotool getwindowpid "$study")"
  open_from_menu 288 '^复习回忆$'
  screen_reader_sees studydesk "$1: 复习回忆 with nothing due" "label\t现在没有要复习的词条。"
  close_activity
  dictation_round "${entries[@]}"
  close_activity
  listening_round "${entries[@]}"
  close_activity
  typing_round "${entries[@]}"
  close_activity
  [ "$(runuser -u "$1" -- env HOME="$home" "$app/studytool" results | cut -f 2 | paste -sd ' ')" = \
    "dictation listening typing" ] || fail "$1: the rounds are not in the learner's store"
  pass "$1: 复习回忆, and 听写训练, 听力自测 and 休闲打字 each to its end, kept in the learner's store"
  kill "$(xdotool getwindowpid "$menu")"
  wait_until_gone '^Zideviv--' "$1: the menu did not close"
}

for learner in "${learners[@]}"; do make_learner "$learner"; done
session_as lumadesk-learner-a 1 2
session_as lumadesk-learner-b 2 1
cmp "/home/lumadesk-learner-a/.local/share/lumadesk/900_1.dat" \
  "$artefacts/expected-lumadesk-learner-a.dat" || fail "the second learner changed the first one's choice"
pass "each learner keeps their own choice"

# A teacher's step as LEARNER: a spreadsheet imported in 课程编辑 into book 1 as a new
# lesson and saved lands in the learner's own folder; their chooser lists it and 课文初记
# learns it.
teacher_step_as() {  # learner
  local home book lesson=第五周 words installed before
  home=$(getent passwd "$1" | cut -d: -f6)
  book=$home/.local/share/lumadesk/c1.dat
  words=$(mktemp -d)
  chmod 755 "$words"
  write_word_list "$words/word-list.csv"
  installed=$(md5sum < "$app/c1.dat")
  start_entry_as "$1" com.zuvizuz.Coursedesk
  teacher_imports "$words/word-list.csv" "$lesson"
  kill "$(xdotool getwindowpid "$editor")"
  [ -f "$book" ] && [ "$(stat -c %U "$book")" = "$1" ] || fail "$1: the book is not in $book"
  [ "$(md5sum < "$app/c1.dat")" = "$installed" ] || fail "$1: the save changed $app/c1.dat"
  pass "$1: the book with \"$lesson\" landed in $book; $app/c1.dat is unchanged"
  start_menu_as "$1"
  menu_ready
  choose_imported_lesson "$(handoff lessons "$app/c1.dat" | wc -l)" "$lesson" \
    "$home/.local/share/lumadesk/900_1.dat" "$words/word-list.csv"
  study_shows "$lesson"
  before=$(runuser -u "$1" -- env HOME="$home" "$app/studytool" log | wc -l)
  learn_with_keyboard 3
  [ "$(runuser -u "$1" -- env HOME="$home" "$app/studytool" log | wc -l)" -eq $((before + 3)) ] ||
    fail "$1: the three answers on \"$lesson\" are not in the learner's store"
  pass "$1: 课文初记 learns \"$lesson\""
  kill "$(xdotool getwindowpid "$study")"
  kill "$(xdotool getwindowpid "$menu")"
  wait_until_gone '^Zideviv--' "$1: the menu did not close"
  rm -rf "$words"
}
teacher_step_as lumadesk-learner-a

# The class server as a school runs it, from the package: LEARNER joins with the code
# `learner add` printed and syncs; what they studied is then on the server, and a second
# device of theirs (a new store, as on a wiped lab PC) takes it all back.
class_server_as() {  # learner
  local home answers second out
  home=$(getent passwd "$1" | cut -d: -f6)
  hub_folder=$(mktemp -d)
  start_class_server "$app/studyhub" "$hub_folder" || fail "the installed studyhub does not serve"
  "$app/studyhub" class add 英语1班 > /dev/null
  as_learner=(runuser -u "$1" -- env HOME="$home")
  "${as_learner[@]}" "$app/studytool" join \
    "$("$app/studyhub" learner add 英语1班 2024001 李华 | tail -n 1)" > /dev/null ||
    fail "$1: studytool join failed"
  [ "$(stat -c %a "$home/.local/share/lumadesk/study.hub")" = 600 ] ||
    fail "$1: the device's token is readable by others"
  answers=$("${as_learner[@]}" "$app/studytool" log | wc -l)
  out=$("${as_learner[@]}" "$app/studytool" sync) || fail "$1: studytool sync failed: $out"
  # The first line counts answers; a second one the books handed out.
  out=$(head -n 1 <<< "$out")
  [ "$out" = "sent $answers, received 0, withdrawn 0" ] || fail "$1: studytool sync said: $out"
  second=$(runuser -u "$1" -- mktemp -d)
  "${as_learner[@]}" "$app/studytool" join \
    "$("$app/studyhub" learner code 英语1班 2024001 | tail -n 1)" "$second/study.db" > /dev/null
  out=$("${as_learner[@]}" "$app/studytool" sync "$second/study.db") ||
    fail "$1: the second device's sync failed: $out"
  out=$(head -n 1 <<< "$out")
  [ "$out" = "sent 0, received $answers, withdrawn 0" ] || fail "$1: the second device: $out"
  [ "$("${as_learner[@]}" "$app/studytool" stats | grep '^due')" = \
    "$("${as_learner[@]}" "$app/studytool" stats "$second/study.db" | grep '^due')" ] ||
    fail "$1: the second device does not have the same cards due"
  rm -rf "$second"
  pass "$1: $answers answers went to the installed class server and came back whole on a second device"
  # The teacher hands out book 1 with the phonetics beside it; the learner's next sync
  # brings both into their own folder.
  local handed
  handed=$(mktemp -d)
  cp "$app/c1.dat" "$handed/c1.dat"
  printf 'Market\tˈmɑːkɪt\n' > "$handed/phonetics.txt"
  "$app/studyhub" publish 英语1班 1 "$handed/c1.dat" > /dev/null || fail "studyhub publish failed"
  out=$("${as_learner[@]}" "$app/studytool" sync) || fail "$1: studytool sync failed: $out"
  [ "$(tail -n 1 <<< "$out")" = "books received 1" ] || fail "$1: the handed-out book: $out"
  cmp -s "$handed/c1.dat" "$home/.local/share/lumadesk/c1.dat" ||
    fail "$1: the handed-out book is not in the learner's folder"
  grep -qxF "Market	ˈmɑːkɪt" "$home/.local/share/lumadesk/phonetics.txt" ||
    fail "$1: the teacher's phonetics did not come with the book"
  rm -rf "$handed"
  stop_class_server "$hub_folder"
  hub_folder=""
  pass "$1: the book the teacher handed out came with its phonetics at the next sync"
}
class_server_as lumadesk-learner-a

files=$(dpkg -L lumadesk | while read -r path; do [ -f "$path" ] && echo "$path"; done)
apt-get remove -y -qq lumadesk > /dev/null
left=$(for path in $files; do [ -e "$path" ] && echo "$path"; done || true)
[ -z "$left" ] || fail "removing the package left: $left"
[ ! -e "$app" ] || fail "removing the package left $app"
[ -f "/home/lumadesk-learner-a/.local/share/lumadesk/900_1.dat" ] ||
  fail "removing the package took a learner's own file"
pass "apt removes every file of the package and keeps the learners' own"
