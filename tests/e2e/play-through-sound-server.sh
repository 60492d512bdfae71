#!/usr/bin/env bash
# Plays a test disc in the real program under Xvfb, presses PLAY and STOP with the mouse, and
# checks from a null sink's monitor that track 1 sounded and then fell silent. The sink is on a
# private PulseAudio server where PulseAudio is installed, as on a fresh machine; otherwise on the
# sound server the desktop runs (PipeWire's), or the test is skipped.
# usage: play-through-sound-server.sh CORVANTA MKDISC
set -euo pipefail

# shellcheck source-path=SCRIPTDIR source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# The player control sits at (352, 8) of the client area; PLAY is its left half, STOP its right.
readonly client_width=580 client_height=375

require_tools pactl parec od awk
# Found before begin_work, which leaves the desktop's session behind.
desktop_server=''
if ! command -v pulseaudio >/dev/null; then
    desktop_server=$(pactl info 2>/dev/null | sed -n 's/^Server String: //p' || true)
    [ -n "$desktop_server" ] ||
        skip "PulseAudio is not installed and no sound server can be reached"
fi
begin_work

recorded_bytes() { stat -c %s "$work/rec.raw"; }

# True once the recording holds anything but digital silence.
sound_recorded() { [ "$(tr -d '\000' <"$work/rec.raw" | head -c 1 | wc -c)" -gt 0 ]; }

# True once the last 0.2 s recorded after byte $1 are digital silence.
silent_after() {
    local tail=$((rate_bytes / 5))
    [ "$(recorded_bytes)" -ge $(($1 + tail)) ] &&
        [ "$(tail -c "$tail" "$work/rec.raw" | tr -d '\000' | wc -c)" -eq 0 ]
}

# track_recorded FILE TRACK: FILE holds at least 1 s of TRACK, from its beginning, in order.
# A test track's right channel holds track * 256 + its second, never 0, and the null sink passes
# it on bit-exact, so these marks alone tell which track sounded, from where and in what order.
track_recorded() {
    od -An -v -w4 -td2 --endian=little "$1" | awk -v mark=$(($2 * 256)) '
        { s = $2 - mark }
        s < 0 || s > 255 { next }
        !n++ { first = s }
        n > 1 && (s < last || s > last + 1) && !jump { jump = last " to " s }
        { last = s }
        END {
            if (n) printf "e2e: %d frames of the track, its seconds %d to %d\n", n, first, last
            if (!n) why = "no audio of the track in the recording"
            else if (first) why = "the track starts at its second " first ", not at its beginning"
            else if (jump) why = "the track jumps from its second " jump
            else if (n < 44100) why = "less than 1 s of the track"
            if (why) { print "e2e: FAIL: " why > "/dev/stderr"; exit 1 }
        }'
}

# Track 1 outlasts every wait below, so a STOP that does nothing cannot pass as silence.
make_program_folder "$corvanta" "$mkdisc" 20000 4000
start_xvfb

readonly null_sink="module-null-sink sink_name=corvanta_test format=s16le rate=44100 channels=2"
if [ -n "$desktop_server" ]; then
    say "adding a null sink to the desktop's sound server $desktop_server"
    export PULSE_SERVER=$desktop_server
    # shellcheck disable=SC2086 # the module's arguments are words of their own
    undo_at_exit "pactl unload-module $(pactl load-module $null_sink)"
else
    say "starting PulseAudio"
    pulseaudio -n --daemonize=no --disable-shm --exit-idle-time=-1 \
        --load=module-native-protocol-unix --load="$null_sink" >"$work/pulse.log" 2>&1 &
    track_process $!
    keep_log "pulseaudio log" "$work/pulse.log"
    wait_for 10 "answer from PulseAudio" pactl info
fi
wait_for 10 "null sink" sh -c 'pactl list short sinks | grep -q corvanta_test'

say "recording the sink's monitor"
parec --device=corvanta_test.monitor --format=s16le --rate=44100 --channels=2 --raw \
    --latency-msec=50 >"$work/rec.raw" 2>"$work/parec.log" &
parec_pid=$!
track_process "$parec_pid"
keep_log "parec output" "$work/parec.log"
wait_for 10 "recording stream" sh -c 'pactl list short source-outputs | grep -q .'

start_program QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=pulseaudio PULSE_SINK=corvanta_test
find_window '^Corvanta$'
if [ "$win_w" -ne "$client_width" ] || [ "$win_h" -ne "$client_height" ]; then
    die "client area is ${win_w}x${win_h}, not ${client_width}x${client_height}"
fi
sound_recorded && die "sound before PLAY was pressed"

say "pressing PLAY"
click_at "$play_x" "$play_y"
wait_for 15 "sound after PLAY" sound_recorded
say "sound is playing; letting it run"
sleep 2.5

say "pressing STOP"
stopped_at=$(recorded_bytes)
click_at "$stop_x" "$stop_y"
wait_for 10 "silence after STOP" silent_after "$stopped_at"
say "silent after STOP"

kill -0 "$app_pid" 2>/dev/null || die "the program died after STOP"
xwininfo -id "$win" >/dev/null 2>&1 || die "the program's window is gone after STOP"

stop_process "$parec_pid"
say "recorded $(recorded_bytes) bytes; analysing"
track_recorded "$work/rec.raw" 1 || die "track 1 did not come through the sound server as expected"

# The other e2e test closes the window as a window manager would; here SIGTERM, as a session
# ending sends it, must still end the program promptly.
say "closing the program"
kill -TERM "$app_pid"
wait_for_exit 10

say "PASS"
