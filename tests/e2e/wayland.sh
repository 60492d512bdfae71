#!/usr/bin/env bash
# The road again with the program a native Wayland client, of weston nested in the road's Xvfb:
# what the compositor is told of its windows (the desktop entry's app_id, the settings window's
# parent and empty title), 開く, track 1 chosen and PLAY over the bus, each line lit as it is
# heard, 設定 and its OK, Raise where the compositor cannot (weston offers no xdg-activation), and
# the program's own title bar, as weston draws none: moved by dragging, the program closed by
# its ✕. Clicks and keys go to weston's window
# on the X display; weston's own view of its windows (weston-debug) says where they are.
# usage: wayland.sh CORVANTA MKDISC BAND
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 CORVANTA MKDISC BAND" >&2 && exit 2; }
corvanta=$(realpath "$1") mkdisc=$(realpath "$2") band=$(realpath "$3")

tag=wayland
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"
for tool in weston weston-debug; do
    command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps test)"
done
readonly app_id=io.github.corvanta.Corvanta
make_road_program
desktop_start

weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --idle-time=0 --debug \
    --socket=corvanta-wayland >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for 20 "weston" test -S "$XDG_RUNTIME_DIR/corvanta-wayland"
export WAYLAND_DISPLAY=corvanta-wayland
surface=$(xwininfo -root -tree | awk '/"Weston Compositor/ && !found { print $1; found = 1 }')
[ -n "$surface" ] || die "weston has no window on the X display"

# The program's windows as weston sees them: "TITLE|X Y X2 Y2" a line, their corners on weston's
# output.
windows() {
    weston-debug scene-graph 2>/dev/null | awk -v id="$app_id" '
        index($0, "top-level window") && index($0, " of " id ",") {
            title = $0; sub(/.*top-level window \047/, "", title); sub(/\047 of .*/, "", title)
        }
        title != "" && /position: \(/ {
            gsub(/[^0-9 ]/, " "); split($0, at, " +"); print title "|" at[2], at[3], at[4], at[5]
            title = ""
        }'
}
window_at() { windows | awk -F'|' -v title="$1" '$1 == title && !found { print $2; found = 1 }'; }
window_shown() { [ -n "$(window_at "$1")" ]; }
window_gone() { ! window_shown "$1"; }
# inside_at TITLE HEIGHT: where the inside of that window, HEIGHT high, begins, below its title bar.
inside_at() {
    local at
    read -ra at <<<"$(window_at "$1")"
    echo "${at[0]} $((at[3] - $2))"
}
click_in() { # click_in TITLE HEIGHT X Y: inside that window
    local at
    read -ra at <<<"$(inside_at "$1" "$2")"
    xdotool mousemove --window "$surface" $((at[0] + $3)) $((at[1] + $4)) click 1
}
readonly main_height=375 settings_height=213 bar_height=28

say "the program natively on weston"
WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=pulseaudio PULSE_SINK=corvanta_test \
    "$work/program/corvanta" >"$work/corvanta.log" 2>"$work/wayland.log" &
app_pid=$!
pids+=("$app_pid")
wait_for 30 "the main window, of the desktop entry's app_id" window_shown Corvanta
read -ra corners <<<"$(window_at Corvanta)"
# weston draws no title bars: the window's own is there, not Qt's with its minimise and maximise.
[ $((corners[3] - corners[1])) -eq $((main_height + bar_height)) ] ||
    die "the main window is $((corners[3] - corners[1])) px high, not its own title bar's and layout's"
read -r origin_x origin_y <<<"$(inside_at Corvanta $main_height)"

say "開く"
click_in Corvanta $main_height "$open_x" "$open_y"
wait_for 30 "the file dialog" window_shown 開く
xdotool type --delay 20 "$work/lyrics.txt"
xdotool key Return
wait_for 15 "the file dialog to close" window_gone 開く
wait_for 15 "the lyrics in the view" plain_window_shown
extents=$(tagged_extents)

say "track 1 chosen from the list's popup, PLAY"
popup_shown() { weston-debug scene-graph 2>/dev/null | grep -q 'role xdg_popup'; }
xdotool mousemove --window "$surface" $((origin_x + list_x)) $((origin_y + list_y)) mousedown 1
wait_for 15 "the list's popup" popup_shown
xdotool key Down Up Return mouseup 1
wait_for 15 "the list's popup to close" eval '! popup_shown'
play_track_one

say "設定: a window of the main one's, titled with nothing to see, and its OK"
click_in Corvanta $main_height "$settings_x" "$settings_y"
# A title of one zero-width character, U+2060: Qt sends no empty title.
readonly invisible=$'\342\201\240'
wait_for 15 "the settings window" window_shown "$invisible"
grep -Eq 'xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@[0-9]+\)' "$work/wayland.log" ||
    die "the settings window was given no parent"
click_in "$invisible" $settings_height 272 196
wait_for 15 "the settings window to close" window_gone "$invisible"

say "Raise from the media controls, where weston lets no program ask: the log says so"
mpris org.mpris.MediaPlayer2.Raise >/dev/null
grep -q 'offers no xdg-activation' "$work/wayland.log" || die "Raise failed and the log says nothing"

say "the title bar: dragged, the window follows; its ✕ closes the program"
moved() { # the pointer, held on the bar, a step further each time until the window has followed
    xdotool mousemove_relative 5 5
    [ "$(window_at Corvanta)" != "${corners[*]}" ]
}
xdotool mousemove --window "$surface" $((corners[0] + 100)) $((corners[1] + bar_height / 2)) mousedown 1
wait_for 15 "the window to follow the pointer" moved
xdotool mouseup 1
read -ra corners <<<"$(window_at Corvanta)"
xdotool mousemove --window "$surface" $((corners[2] - bar_height / 2)) $((corners[1] + bar_height / 2)) click 1
wait_for 15 "the program to end" sh -c "! kill -0 $app_pid"
wait "$app_pid" || die "the program ended with status $?"
say PASS
