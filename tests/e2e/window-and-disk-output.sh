#!/usr/bin/env bash
# Runs the real program under Xvfb and openbox with SDL's disk audio driver: checks the main
# window's title, size and place, presses PLAY and checks the device gets the disc's bytes
# exactly, confirms 設定, then closes the window as the window manager's close button does and
# checks the program ends cleanly and stops writing.
# usage: window-and-disk-output.sh CORVANTA MKDISC E2E_X11
set -euo pipefail

# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

readonly client_width=580 client_height=375

require_tools cmp
begin_work

# Track 1 outlasts the whole test, so the device never reaches its end while it is checked.
make_program_folder "$corvanta" "$mkdisc" 20000 4000
start_xvfb
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
start_program QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$played"
find_window '^Corvanta$'

title=$(xdotool getwindowname "$win")
[ "$title" = "Corvanta" ] || die "the window's title is '$title', not 'Corvanta'"
if [ "$win_w" -ne "$client_width" ] || [ "$win_h" -ne "$client_height" ]; then
    die "client area is ${win_w}x${win_h}, not ${client_width}x${client_height}"
fi
# The program centres the window; the window manager's frame may push the client area aside by
# its border and title bar.
off_x=$((win_x + client_width / 2 - screen_w / 2)) off_y=$((win_y + client_height / 2 - screen_h / 2))
if ((off_x < -2 || off_x > 2 || off_y < 0 || off_y > 30)); then
    die "window at ($win_x, $win_y), not centred on the ${screen_w}x${screen_h} screen"
fi
say "title, size and place are right"
disc_audio_started && die "audio reached the device before PLAY was pressed"

say "pressing PLAY"
click_at "$play_x" "$play_y"
wait_for 15 "disc audio on the device after PLAY" disc_audio_started
disc_start=$(disc_audio_start)
say "disc audio starts at byte $disc_start of the device's output; letting it run"
wait_for 30 "1.5 s of disc audio on the device" \
    played_at_least $((disc_start + rate_bytes * 3 / 2))

# The device writes on while this runs; a copy holds still for the comparison.
cp "$played" "$work/snapshot.raw"
written=$(($(stat -c %s "$work/snapshot.raw") - disc_start))
disc_bytes=$(stat -c %s "$work/disc.bin")
((written <= disc_bytes)) || written=$disc_bytes
say "comparing $written bytes with the disc image"
matches_disc "$work/snapshot.raw" "$disc_start" "$written" ||
    die "the device's output after its leading silence is not the disc's audio"
say "the device got the disc's bytes exactly"

# 設定's OK reopens the player and saves the colours in use, here the defaults, since the
# program folder had no cv.ini.
settings_saved() { cmp -s "$work/program/cv.ini" <(printf ' 0 \r\n 33023 \r\n-2147483633 \r\n'); }
confirm_settings
wait_for 15 "cv.ini with the colours in use" settings_saved

say "closing the window"
kill -0 "$app_pid" 2>/dev/null || die "the program died while playing"
"$e2e_x11" close "$win" || die "could not ask the window to close"
wait_for_exit 15
[ "$app_status" -eq 0 ] || die "the program ended with status $app_status, not 0"

size=$(played_bytes)
sleep 0.5
[ "$(played_bytes)" -eq "$size" ] || die "the device's output still grows after the program ended"
say "the device's output stopped at $size bytes"

say "PASS"
