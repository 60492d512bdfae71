#!/usr/bin/env bash
# A user's road through the real program on a desktop (Xvfb and openbox), heard through a sound
# server's null sink: start → 開く (the lyrics stay through the dialog's close and a cancel) →
# choose track 1 → PLAY → each tagged line lights up as the music reaches it → the track ends →
# 設定, a window without a title → close.
# The sink is on a private PulseAudio server, or on the desktop's own when PulseAudio is not
# installed (as beside PipeWire); with neither the test is skipped.
# usage: road.sh CORVANTA MKDISC BAND
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

require_tools pactl parec od awk
server='' # found before begin_work, which leaves the desktop's session behind
if ! command -v pulseaudio >/dev/null; then
    server=$(pactl info 2>/dev/null | sed -n 's/^Server String: //p' || true)
    [ -n "$server" ] || skip "PulseAudio is not installed and no sound server can be reached"
fi
begin_work
readonly rate=$((44100 * 4)) sink="sink_name=corvanta_test format=s16le rate=44100 channels=2"
readonly tags=(1 2 3 4) white=ffffff red=ff0000

if [ -n "$server" ]; then
    export PULSE_SERVER=$server
    # shellcheck disable=SC2086 # the module's arguments are words of their own
    undo_at_exit "pactl unload-module $(pactl load-module module-null-sink $sink)"
else
    pulseaudio -n --daemonize=no --disable-shm --exit-idle-time=-1 \
        --load=module-native-protocol-unix --load="module-null-sink $sink" >"$work/pulse.log" 2>&1 &
    track_process $!
fi
wait_for 10 "the null sink" sh -c 'pactl list short sinks | grep -q corvanta_test'
parec --device=corvanta_test.monitor --format=s16le --rate=44100 --channels=2 --raw \
    --latency-msec=50 >"$work/heard.raw" 2>"$work/parec.log" &
track_process $!
heard() { stat -c %s "$work/heard.raw"; }
sound_after() { [ "$(tail -c +$(($1 + 1)) "$work/heard.raw" | tr -d '\000' | head -c 1 | wc -c)" -eq 1 ]; }
silent_since() { # the last 0.2 s heard are silence
    [ "$(tail -c $((rate / 5)) "$work/heard.raw" | tr -d '\000' | wc -c)" -eq 0 ]
}
# marks_after BYTE: the marks heard after that byte of the recording, each once, in order. A test
# track's right channel is track × 256 + its second, and the null sink passes it on bit for bit.
marks_after() {
    tail -c +$(($1 + 1)) "$work/heard.raw" | od -An -v -w4 -td2 --endian=little |
        awk '$2 && $2 != last { printf "%s%d", sep, $2; sep = " "; last = $2 }'
}

printf '%s\r\n' 'Corvanta test song' '[00:01]a' '[00:02]bbbbbbbbbb' '[00:03]cccccccccccccccccccc' \
    '[00:04]dd' >"$work/lyrics.txt"
make_program_folder 6000 3000
printf ' 16777215 \r\n 255 \r\n 0 \r\n' >"$work/program/cv.ini" # white, red, black
start_xvfb
start_program QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=pulseaudio PULSE_SINK=corvanta_test
find_window '^Corvanta$'

# The view: 577 px wide from 40 px down, 18 px rows, the current line on row 8.
rows_extent() { "$band" "$win" 0 $((40 + 18 * ($1 - 1))) 577 $((18 * ($2 - $1 + 1))) "$3"; }
tagged_extents() { for i in "${!tags[@]}"; do rows_extent $((8 + i)) $((8 + i)) $white; done | paste -sd ' '; }
# The window around the first tagged line, none of it red: six blank rows, the title, the lines.
plain_window_shown() {
    [ "$(rows_extent 1 6 $white)" -eq -1 ] && [ "$(rows_extent 8 8 $white)" -ge 0 ] &&
        [ "$(rows_extent 12 18 $white)" -eq -1 ] && [ "$(rows_extent 1 18 $red)" -eq -1 ]
}
# Another window of the program's on the screen, the list's popup or the settings window: $other.
other_window() { other=$(xdotool search --onlyvisible --pid "$app_pid" | grep -vx "$win"); }
current_is() { [ "$(rows_extent 8 8 $red)" -eq "$1" ]; }
# The list's popup, opened with the button held: a release would choose an item if the program
# took its time to show the popup.
open_list() {
    xdotool mousemove --window "$win" $list_x $list_y mousedown 1
    wait_for 15 "the list's popup" other_window
}
# Once the window is active again and the list's popup has opened, the program has handled the
# activation that came before: the view shows what it left.
lyrics_stay() {
    wait_for 15 "the window to be active" sh -c "[ \"\$(xdotool getactivewindow)\" = $win ]"
    open_list
    xdotool key Escape mouseup 1
    wait_for 15 "the list's popup to close" eval '! other_window'
    wait_for 15 "the lyrics in the view" plain_window_shown
    [ "$(tagged_extents)" = "$extents" ] || die "the lyrics went $1"
}
say "開く: the lyrics, then a cancel"
open_lyrics "$work/lyrics.txt"
wait_for 15 "the lyrics in the view" plain_window_shown
extents=$(tagged_extents)
lyrics_stay "once the file dialog had closed"
open_lyrics
lyrics_stay "after the file dialog was cancelled"

say "choosing track 1 in the list, then PLAY"
open_list
xdotool key Down Up Return mouseup 1
mark=$(heard)
click_at $play_x $play_y
wait_for 15 "sound" sound_after "$mark"
start=$(heard)
read -ra extent <<<"$extents"
for i in "${!tags[@]}"; do
    wait_for 20 "line $((i + 1)) in red" current_is "${extent[i]}"
    at_ms=$((($(heard) - start) * 1000 / rate))
    say "[00:0${tags[i]}] current with $at_ms ms heard"
    # Never before its second is heard, but for the sound server's latency; how late it is seen
    # depends on how busy the machine is, and the wait bounds only a hang.
    ((at_ms >= tags[i] * 1000 - 600)) || die "line $((i + 1)) turned current with $at_ms ms heard"
done
wait_for 20 "silence at the end of track 1" silent_since
say "heard: $(marks_after "$mark")"
[[ "$(marks_after "$mark")" =~ ^"256 257 258 259 260 261"( 512)?$ ]] ||
    die "track 1 was not heard whole, alone"
wait_for 15 "the view back to the lyrics from their first tag" plain_window_shown

say "minimised and brought back: the lyrics stay"
xdotool windowminimize --sync "$win"
xdotool windowactivate --sync "$win"
lyrics_stay "after the window was minimised and brought back"

say "設定: no title, OK"
click_at $settings_x $settings_y
wait_for 15 "the settings window" other_window
settings=$other
[ "$(xprop -id "$settings" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = ' ] ||
    die "the settings window's title bar shows $(xprop -id "$settings" _NET_WM_NAME)"
xdotool mousemove --window "$settings" 272 196 click 1
wait_for 15 "the settings window to close" eval '! other_window'

say "closing the window with Alt+F4"
xdotool windowactivate --sync "$win" key alt+F4
timeout 15 tail --pid="$app_pid" -f /dev/null || die "the program did not end"
wait "$app_pid" || die "the program ended with status $?"
say "PASS"
