#!/usr/bin/env bash
# A user's road through the real program on a desktop (Xvfb and openbox), heard through a sound
# server's null sink: start → 開く (the lyrics stay through the dialog's close and a cancel) →
# choose track 1 → PLAY, over the session bus as the desktop's media key → each tagged line
# lights up as the music reaches it → the track ends → minimised and brought back, the lyrics
# still there → 設定, a window without a title → the media controls as playerctl works them →
# a rip opened by a second start, its track 2's lyrics chosen in 開く → playerctl open → close.
# The sink is on a private PulseAudio server, or on the desktop's own when PulseAudio is not
# installed (as beside PipeWire); with neither the test is skipped.
# Where FUSE is to be had, a drive that never answers is chosen in 設定 on the way, and then the
# good one again, which plays.
# usage: road.sh CORVANTA MKDISC BAND [STALLFS]
set -euo pipefail
[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: $0 CORVANTA MKDISC BAND [STALLFS]" >&2 && exit 2; }
corvanta=$(realpath "$1") mkdisc=$(realpath "$2") band=$(realpath "$3") stallfs=${4:-}

tag=e2e
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"
make_road_program

say "a display platform forced that Qt does not have: refused in one line, not by an abort"
rc=0
said=$(QT_QPA_PLATFORM=nosuch "$corvanta" 2>&1 >/dev/null) || rc=$?
[ "$rc" -eq 1 ] && [ "$(wc -l <<<"$said")" -eq 1 ] || die "status $rc: $said"

desktop_start
start_program "$work/program"

surface=$win origin_x=0 origin_y=0
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
open_lyrics Return "$work/lyrics.txt"
wait_for 15 "the lyrics in the view" plain_window_shown
extents=$(tagged_extents)
lyrics_stay "once the file dialog had closed"
open_lyrics Escape
lyrics_stay "after the file dialog was cancelled"

say "choosing track 1 in the list, then PLAY"
open_list
xdotool key Down Up Return mouseup 1
play_track_one
wait_for 15 "the view back to the lyrics from their first tag" plain_window_shown

say "minimised and brought back: the lyrics stay"
xdotool windowminimize --sync "$win"
# Brought back as from a task bar. Openbox, busy, was seen to restore the window and then leave
# the focus on its own window, settling the minimising late; the window is asked for again till
# it is the active one. (windowactivate --sync gives up at once while no window is active.)
active_again() {
    [ "$(xdotool getactivewindow)" = "$win" ] || { xdotool windowactivate "$win" && false; }
}
xdotool windowactivate "$win"
wait_for 15 "the window to be active again" active_again
lyrics_stay "after the window was minimised and brought back"

say "設定: no title, OK"
click_at $settings_x $settings_y
wait_for 15 "the settings window" other_window
[ "$(xprop -id "$other" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = ' ] ||
    die "the settings window's title bar shows $(xprop -id "$other" _NET_WM_NAME)"
xdotool mousemove --window "$other" 272 196 click 1
wait_for 15 "the settings window to close" eval '! other_window'
if stall_mount "$stallfs"; then
    say "設定: a drive that never answers, then D: again"
    ln -s "$work/stall/disc.toc" "$work/program/drives/h:"
    choose_drive 1
    choose_drive 0 answered
fi

say "the media controls, as playerctl works them"
pc() { playerctl --player=corvanta "$@"; }
pc --follow status >"$work/follow.log" 2>&1 &
pids+=($!)
wait_for 15 "playerctl to follow" grep -qx Stopped "$work/follow.log"
pc play
[ "$(pc metadata --format '{{title}} {{mpris:length}}')" = "ﾄﾗｯｸ1 6000000" ] ||
    die "metadata while playing: $(pc metadata 2>&1)"
wait_for 15 "sound" sound_after "$(heard)"
mark=$(heard)
pc next # plays on with track 2
[ "$(pc metadata xesam:trackNumber)" = 2 ] || die "next did not go to track 2"
# Track 1 is heard no more once track 2 has begun, though its output takes its time to close.
heard_mark() { [[ " $(marks_after "$mark") " == *" $1 "* ]]; }
wait_for 15 "the second second of track 2" heard_mark 513
[[ "$(marks_after "$mark")" =~ ^([0-9]+ )*512" "(51[0-9] ?)*$ ]] ||
    die "track 1 heard after track 2 began: $(marks_after "$mark")"
pc play-pause
pc play
pc stop
[ "$(pc position)" = 0.000000 ] || die "the position after a stop is $(pc position)"
wait_for 15 "five states followed" sh -c "[ \$(wc -l <'$work/follow.log') -ge 5 ]"
[ "$(paste -sd ' ' "$work/follow.log")" = "Stopped Playing Stopped Playing Stopped" ] ||
    die "playerctl followed $(paste -sd ' ' "$work/follow.log")"
click_at "$open_x" "$open_y"
wait_for 30 "the file dialog" xdotool search --onlyvisible --name '^開く$'
pc previous # the window takes no input while its dialog is open, and neither does the bus
xdotool key Escape
wait_for 15 "the file dialog to close" sh -c '! xdotool search --onlyvisible --name "^開く$"'
[ "$(pc metadata xesam:trackNumber)" = 2 ] || die "previous chose a track behind the dialog"

say "an album by a second start: a drive of its own, and track 2's lyrics one Enter away"
"$mkdisc" --format flac --split --cp932 --demo "$work/rip/album.cue" >/dev/null || die "mkdisc failed"
mv "$work/rip/track2.txt" "$work/rip/02 ソナタ.txt"
timeout 15 "$work/program/corvanta" "$work/rip" >"$work/second.log" 2>&1 ||
    die "the second start ended with $?"
album_is() { [ "$(pc metadata xesam:album 2>/dev/null)" = "$1" ]; }
wait_for 15 "the rip's tracks" album_is "Corvanta テスト"
open_list
xdotool key Down Return mouseup 1
open_lyrics Return
pc metadata xesam:asText | grep -q 山からくだる || die "開く chose $(pc metadata xesam:asText)"
click_at $play_x $button_y
current_lit() { [ "$(rows_extent 8 8 $red)" -ge 0 ]; }
wait_for 20 "track 2's first line in red" current_lit

say "playerctl open: a sheet that is no disc is refused, the disc of D: takes D: again"
echo garbage >"$work/bad.cue"
pc open "file://$work/bad.cue"
wait_for 15 "the refusal in the log" grep -q "not opened: $work/bad.cue キューシートにトラックがありません" \
    "$work/corvanta.log"
pc open "file://$work/disc.cue"
disc_of_d() { disc_held && album_is ""; }
wait_for 15 "the disc of D:" disc_of_d
links=$(find "$work/program/drives" -name '[d-g]:' -printf '%f\n' | sort | paste -sd ' ')
[ "$links" = "d: e:" ] || die "the links are $links"

say "without lyrics the last track plays to the end of the disc, and stops there"
mkfifo "$work/pipe.txt"
open_lyrics Return "$work/pipe.txt" # refused: the lyrics are none
pc next
pc play
wait_for 20 "the end of the disc" sh -c '[ "$(playerctl --player=corvanta status)" = Stopped ]'

say "closing the window with Alt+F4"
xdotool windowactivate --sync "$win" key alt+F4
timeout 15 tail --pid="$app_pid" -f /dev/null || die "the program did not end"
wait "$app_pid" || die "the program ended with status $?"
say "PASS"
