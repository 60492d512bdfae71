#!/usr/bin/env bash
# Loads lyrics through the real program's file dialog under Xvfb and openbox and checks they stay
# shown when the dialog closes, when it is cancelled and when the user comes back from another
# program. Plays track 1 into SDL's disk driver and checks that each tagged line turns the
# current-line colour once the audio has reached its tag, that the player stops at the end of the
# track with the plain window back, that PLAY then starts the track over, and that after 更新 and
# STOP it plays the track the player holds from its start. Last, a background chosen in 設定
# shows as soon as the settings window closes.
# usage: lyrics-follow-the-music.sh CORVANTA MKDISC E2E_X11
set -euo pipefail

# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

readonly combo_x=464 combo_y=18
# The lyric view is 577 px wide from 40 px down and prints 18 px rows; the current line is on
# row 8.
readonly view_y=40 view_w=577 row_h=18 rows=18 current_row=8
readonly white=ffffff red=ff0000 blue=0000ff
readonly track1_ms=6000
readonly tags=(1 2 3 4)

require_tools xlogo cmp
begin_work

# Right-most x of colour $3 on rows $1 to $2 of the view, -1 if they have none.
rows_extent() {
    local y=$((view_y + row_h * ($1 - 1))) h=$((row_h * ($2 - $1 + 1)))
    "$e2e_x11" band "$win" 0 "$y" "$view_w" "$h" "$3"
}
row_extent() { rows_extent "$1" "$1" "$2"; }
no_red_in_view() { [ "$(rows_extent 1 "$rows" "$red")" -eq -1 ]; }
# The window around the first tagged line: six blank rows, the title, the tagged lines, then
# blank rows again. Until the program repaints, what the dialog left behind is still there.
plain_window_shown() {
    [ "$(rows_extent 1 $((current_row - 2)) "$white")" -eq -1 ] &&
        [ "$(row_extent "$current_row" "$white")" -ge 0 ] &&
        [ "$(rows_extent $((current_row + ${#tags[@]})) "$rows" "$white")" -eq -1 ] &&
        no_red_in_view
}
program_windows() { xdotool search --onlyvisible --classname '^corvanta$' | wc -l; }
popup_shown() { [ "$(program_windows)" -gt 1 ]; }
popup_gone() { [ "$(program_windows)" -eq 1 ]; }

# Sets $at_bytes to the disc audio played once row 8's red reaches x = $1.
current_is() {
    [ "$(row_extent "$current_row" "$red")" -eq "$1" ] && at_bytes=$(($(played_bytes) - disc_start))
}

size_settles() {
    local size
    size=$(played_bytes)
    sleep 1
    [ "$(played_bytes)" -eq "$size" ]
}

# Lines of clearly different lengths, so how far the red reaches tells which one is current.
printf '%s\r\n' 'Corvanta test song' '[00:01]a' '[00:02]bbbbbbbbbb' \
    '[00:03]cccccccccccccccccccc' '[00:04]dd' >"$work/lyrics.txt"

make_program_folder "$corvanta" "$mkdisc" "$track1_ms" 3000
# White text, a red current line, a black background.
printf ' 16777215 \r\n 255 \r\n 0 \r\n' >"$work/program/cv.ini"
start_xvfb
start_program QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$played"
find_window '^Corvanta$'

# Loaded, the tagged lines follow one another from row 8 in the text colour; their extents
# there are what the red must reach once each is current.
tagged_extents() {
    local i
    for i in "${!tags[@]}"; do
        row_extent $((current_row + i)) "$white"
    done | paste -sd ' '
}
# The window manager activates the window again after a dialog or another program's window; the
# rows must outlast that.
lyrics_stay() {
    wait_for 15 "the lyrics in the view, none of them red" plain_window_shown
    sleep 1
    plain_window_shown && [ "$(tagged_extents)" = "${extents[*]}" ] ||
        die "the lyrics did not stay in the view $1"
}

open_lyrics "$work/lyrics.txt"
wait_for 15 "the lyrics in the view, none of them red" plain_window_shown
read -ra extents <<<"$(tagged_extents)"
say "tagged lines reach x = ${extents[*]}"
lyrics_stay "once the file dialog had closed"
open_lyrics
lyrics_stay "after the file dialog was cancelled"
say "switching to another program and back"
xlogo -geometry 100x100+0+0 >/dev/null 2>&1 &
track_process $!
wait_for 15 "xlogo's window" xdotool search --onlyvisible --class '^XLogo$'
xdotool windowactivate --sync "$(xdotool search --onlyvisible --class '^XLogo$' | head -n 1)"
xdotool windowactivate --sync "$win"
lyrics_stay "after coming back from another program"

# The popup is a second window of the program's; re-choosing the chosen item must still count.
say "choosing track 1 in the drop-down"
click_at "$combo_x" "$combo_y"
wait_for 15 "the drop-down's list" popup_shown
xdotool key Down Up Return
wait_for 15 "the drop-down's list to close" popup_gone

say "pressing PLAY"
click_at "$play_x" "$play_y"
wait_for 15 "disc audio on the device" disc_audio_started
disc_start=$(disc_audio_start)
for i in "${!tags[@]}"; do
    wait_for 20 "line $((i + 1)) to become current" current_is "${extents[i]}"
    at_ms=$((at_bytes * 1000 / rate_bytes))
    say "[00:0${tags[i]}] current with $at_ms ms of audio played"
    # A hang, not a slow tick, is what the upper bound is after.
    if ((at_ms < tags[i] * 1000 || at_ms > tags[i] * 1000 + 1500)); then
        die "line $((i + 1)) turned current with $at_ms ms played, not just after its tag"
    fi
done

wait_for 30 "the device's output to stop growing" size_settles
# The next play starts a fresh file; this one holds still for the checks.
mv "$played" "$work/first.raw"
written=$(($(stat -c %s "$work/first.raw") - disc_start))
track1_bytes=$((rate_bytes * track1_ms / 1000))
say "the player stopped after $((written * 1000 / rate_bytes)) ms of disc audio"
# The tick stops the disc at the first tick past the track's end, so the start of track 2 may
# sound for up to a tick and the device's buffer; no more.
spill_ms=$(((written - track1_bytes) * 1000 / rate_bytes))
((written >= track1_bytes)) || die "the device did not get track 1 whole"
matches_disc "$work/first.raw" "$disc_start" "$written" ||
    die "the device got something other than the disc"
((spill_ms <= 300)) || die "the player ran on into track 2 for $spill_ms ms"
if ! plain_window_shown || [ "$(row_extent "$current_row" "$white")" -ne "${extents[0]}" ]; then
    die "the view is not back to the lyrics from their first tag, none red, after the track ended"
fi

say "pressing PLAY again"
click_at "$play_x" "$play_y"
wait_for 15 "disc audio on the device again" disc_audio_started
disc_start=$(disc_audio_start)
wait_for 15 "1 s of audio" played_at_least $((disc_start + rate_bytes))
matches_disc "$played" "$disc_start" "$rate_bytes" ||
    die "the second play did not start at the beginning of track 1"
say "the second play starts at the beginning of track 1"

# 更新 chooses nothing; the player holds the track it was set to last, track 2, and STOP rewinds
# it to that track's start.
say "pressing 更新, then STOP and PLAY"
click_at "$refresh_x" "$refresh_y"
click_at "$stop_x" "$stop_y"
wait_for 15 "the device's output to stop growing" size_settles
mv "$played" "$work/second.raw"
click_at "$play_x" "$play_y"
wait_for 15 "disc audio on the device after 更新 and STOP" disc_audio_started
disc_start=$(disc_audio_start)
wait_for 15 "1 s of audio" played_at_least $((disc_start + rate_bytes))
matches_disc "$played" "$disc_start" "$rate_bytes" $((rate_bytes * track1_ms / 1000)) ||
    die "PLAY after 更新 and STOP did not start at the beginning of track 2"
say "it plays track 2 from its start"

view_is_blue() { [ "$(rows_extent 1 "$rows" "$blue")" -ge 0 ]; }
confirm_settings "$blue"
wait_for 5 "the new background in the view" view_is_blue

say "closing the window"
"$e2e_x11" close "$win" || die "could not ask the window to close"
wait_for_exit 15
[ "$app_status" -eq 0 ] || die "the program ended with status $app_status, not 0"

say "PASS"
