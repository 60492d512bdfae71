#!/usr/bin/env bash
# Plays a test disc in the real program under Xvfb, presses PLAY and STOP with the mouse, and
# checks from a private PulseAudio server's monitor that track 1 sounded and then fell silent.
# usage: play-through-sound-server.sh CORVANTA MKDISC E2E_TONE
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 CORVANTA MKDISC E2E_TONE" >&2
    exit 2
fi
corvanta=$(realpath "$1")
mkdisc=$(realpath "$2")
e2e_tone=$(realpath "$3")

# The player control sits at (352, 8) of the client area; PLAY is its left half, STOP its right.
readonly play_x=365 play_y=19 stop_x=392 stop_y=19
readonly client_width=580 client_height=375
readonly rate_bytes=$((44100 * 4))

say() { echo "e2e: $*"; }
die() {
    echo "e2e: FAIL: $*" >&2
    exit 1
}

for tool in Xvfb xdotool xwininfo pulseaudio pactl parec; do
    command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/corvanta-e2e.XXXXXX")
xvfb_pid='' pulse_pid='' parec_pid='' app_pid=''

# Asks a process to end, forcing it if it lingers, and reaps it.
stop_process() {
    local pid=$1 i
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

show_log() {
    [ -s "$2" ] || return 0
    echo "----- $1 -----"
    cat "$2"
}

cleanup() {
    local rc=$?
    stop_process "$app_pid"
    stop_process "$parec_pid"
    stop_process "$pulse_pid"
    stop_process "$xvfb_pid"
    if [ "$rc" -ne 0 ]; then
        show_log "corvanta output" "$work/corvanta.log"
        show_log "pulseaudio log" "$work/pulse.log"
        show_log "parec output" "$work/parec.log"
        show_log "Xvfb log" "$work/xvfb.log"
    fi
    rm -rf "$work"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Polls a command until it succeeds; the limit only bounds a hang.
wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || die "gave up after ${limit} s waiting for $what"
        sleep 0.1
    done
}

recorded_bytes() { stat -c %s "$work/rec.raw"; }

# True once the recording holds anything but digital silence.
sound_recorded() { [ "$(tr -d '\000' <"$work/rec.raw" | head -c 1 | wc -c)" -gt 0 ]; }

# True once the last 0.2 s recorded after byte $1 are digital silence.
silent_after() {
    local tail=$((rate_bytes / 5))
    [ "$(recorded_bytes)" -ge $(($1 + tail)) ] &&
        [ "$(tail -c "$tail" "$work/rec.raw" | tr -d '\000' | wc -c)" -eq 0 ]
}

click_at() {
    xdotool mousemove --sync "$((win_x + $1))" "$((win_y + $2))" click 1
}

# Track 1 outlasts every wait below, so a STOP that does nothing cannot pass as silence.
say "making a two-track test disc"
"$mkdisc" "$work/disc.cue" 20000 4000
mkdir -p "$work/program/drives"
cp "$corvanta" "$work/program/corvanta"
ln -s "$work/disc.cue" "$work/program/drives/d:"

# Everything the server and the program touch stays inside the temporary folder.
# A bus address that leads nowhere keeps libdbus from autolaunching a daemon nobody would stop.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/no-bus"
mkdir -p "$HOME/.config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER PULSE_SINK PULSE_SOURCE PULSE_COOKIE PULSE_RUNTIME_PATH SDL_AUDIODRIVER

say "starting Xvfb"
exec {display_fd}>"$work/display"
Xvfb -displayfd "$display_fd" -nolisten tcp -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec {display_fd}>&-
wait_for 20 "display from Xvfb" grep -q '^[0-9]' "$work/display"
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
say "Xvfb is on display $DISPLAY"

say "starting PulseAudio"
pulseaudio -n --daemonize=no --disable-shm --exit-idle-time=-1 \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=corvanta_test format=s16le rate=44100 channels=2" \
    >"$work/pulse.log" 2>&1 &
pulse_pid=$!
wait_for 10 "answer from PulseAudio" pactl info
wait_for 10 "null sink" sh -c 'pactl list short sinks | grep -q corvanta_test'

say "recording the sink's monitor"
parec --device=corvanta_test.monitor --format=s16le --rate=44100 --channels=2 --raw \
    --latency-msec=50 >"$work/rec.raw" 2>"$work/parec.log" &
parec_pid=$!
wait_for 10 "recording stream" sh -c 'pactl list short source-outputs | grep -q .'

say "starting the program"
QT_QPA_PLATFORM=xcb "$work/program/corvanta" >"$work/corvanta.log" 2>&1 &
app_pid=$!
win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Corvanta$' | head -n 1) ||
    die "no Corvanta window within 30 s"
[ -n "$win" ] || die "no Corvanta window within 30 s"
geometry=$(xdotool getwindowgeometry --shell "$win")
field() { sed -n "s/^$1=//p" <<<"$geometry"; }
win_x=$(field X) win_y=$(field Y) win_w=$(field WIDTH) win_h=$(field HEIGHT)
say "window $win at ($win_x, $win_y), ${win_w}x${win_h}"
# Without a window manager there is no frame, so this is the client area itself.
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
parec_pid=''
say "recorded $(recorded_bytes) bytes; analysing"
"$e2e_tone" "$work/rec.raw" 1 || die "track 1 did not come through the sound server as expected"

# xdotool's windowclose destroys the window outright and there is no window manager to ask for
# a close, so SIGTERM is the polite way left; it must still end the program promptly.
say "closing the program"
kill -TERM "$app_pid"
for ((i = 0; i < 100; i++)); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && die "the program is still running 10 s after SIGTERM"
app_status=0
wait "$app_pid" || app_status=$?
app_pid=''
say "program ended with status $app_status"

say "PASS"
