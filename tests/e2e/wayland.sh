#!/usr/bin/env bash
# The road again, shorter, with the program a native Wayland client of weston nested in the road's
# Xvfb: the app_id, 開く, PLAY, the lines lit as heard, 設定 (a child window, titled with nothing to
# see) and its OK, Raise where weston lets no program ask, and the program's own title bar, as
# weston draws none: dragged, then its ✕. weston-debug says where weston put each window.
# usage: wayland.sh CORVANTA MKDISC BAND
set -euo pipefail
corvanta=$(realpath "$1") mkdisc=$(realpath "$2") band=$(realpath "$3") tag=wayland
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"
make_road_program
desktop_start
weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --idle-time=0 --debug \
    --socket=corvanta-wayland >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for 20 "weston" test -S "$XDG_RUNTIME_DIR/corvanta-wayland"
export WAYLAND_DISPLAY=corvanta-wayland
surface=$(xwininfo -root -tree | awk '/"Weston Compositor/ && !found { print $1; found = 1 }')

# window_at TITLE: the corners "X Y X2 Y2" on weston's output of the program's window so titled.
window_at() {
    weston-debug scene-graph | grep -A1 -F "top-level window '$1' of io.github.corvanta.Corvanta," |
        sed -n 's/.*position: (\([0-9]*\), \([0-9]*\)) -> (\([0-9]*\), \([0-9]*\)).*/\1 \2 \3 \4/p'
}
window_shown() { [ -n "$(window_at "$1")" ]; }
click_in() { # click_in TITLE HEIGHT X Y: at X, Y of the inside, HEIGHT high, below the title bar
    local at
    read -ra at <<<"$(window_at "$1")"
    xdotool mousemove --window "$surface" $((at[0] + $3)) $((at[3] - $2 + $4)) click 1
}
readonly invisible=$'\342\201\240' bar=28 # U+2060: Qt sends no empty title

say "the program natively on weston"
WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=pulseaudio PULSE_SINK=corvanta_test \
    "$work/program/corvanta" >"$work/corvanta.log" 2>"$work/wayland.log" &
app_pid=$! && pids+=("$app_pid")
wait_for 30 "the main window, of the desktop entry's app_id" window_shown Corvanta
read -ra corners <<<"$(window_at Corvanta)"
[ $((corners[3] - corners[1])) -eq $((375 + bar)) ] || die "not the window's own title bar"
origin_x=${corners[0]} origin_y=$((corners[1] + bar))

click_in Corvanta 375 "$open_x" "$open_y"
wait_for 30 "the file dialog" window_shown 開く
xdotool type --delay 20 "$work/lyrics.txt"
xdotool key Return
wait_for 15 "the lyrics in the view" plain_window_shown
extents=$(tagged_extents)
play_track_one

say "設定 and its OK; Raise, which weston does not allow, said in the log"
click_in Corvanta 375 "$settings_x" "$settings_y"
wait_for 15 "the settings window" window_shown "$invisible"
grep -Eq 'xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@' "$work/wayland.log" || die "no parent"
click_in "$invisible" 213 272 196
wait_for 15 "the settings window to close" eval '! window_shown "$invisible"'
mpris org.mpris.MediaPlayer2.Raise >/dev/null
grep -q 'offers no xdg-activation' "$work/wayland.log" || die "Raise failed and the log says nothing"

say "the title bar: dragged, the window follows; its ✕ closes the program"
moved() { xdotool mousemove_relative 5 5 && [ "$(window_at Corvanta)" != "${corners[*]}" ]; }
xdotool mousemove --window "$surface" $((corners[0] + 100)) $((corners[1] + bar / 2)) mousedown 1
wait_for 15 "the window to follow the pointer" moved
xdotool mouseup 1
read -ra corners <<<"$(window_at Corvanta)"
xdotool mousemove --window "$surface" $((corners[2] - bar / 2)) $((corners[1] + bar / 2)) click 1
wait_for 15 "the program to end" sh -c "! kill -0 $app_pid"
wait "$app_pid" || die "the program ended with status $?"
say PASS
