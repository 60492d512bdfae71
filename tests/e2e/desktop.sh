# A desktop for the real program, shared by the end-to-end road and the soak: a private session
# bus, a private PulseAudio server with a null sink whose monitor is recorded to $work/heard.raw
# (or the desktop's own server where PulseAudio is not installed, as beside PipeWire; with
# neither the caller is skipped with status 77), Xvfb with openbox on it, and the program
# started in a program folder of the caller's. Sourced; the caller sets $tag, the word its
# messages start with.

say() { echo "$tag: $*"; }
die() { echo "$tag: FAIL: $*" >&2 && exit 1; }
for tool in dbus-daemon dbus-send playerctl Xvfb openbox xprop xwininfo xdotool pactl parec od awk; do
    command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps test)"
done
# Polls a command until it succeeds; the limit only bounds a hang.
wait_for() {
    local limit=$1 deadline=$((SECONDS + $1)) what=$2
    shift 2
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || die "gave up after $limit s waiting for $what"
        sleep 0.1
    done
}

server='' # found before the scratch folder, which leaves the desktop's session behind
if ! command -v pulseaudio >/dev/null; then
    server=$(pactl info 2>/dev/null | sed -n 's/^Server String: //p' || true)
    [ -n "$server" ] || { echo "e2e: SKIP: no PulseAudio, no sound server" && exit 77; }
fi

# $work holds everything the program and its helpers touch; at exit the processes started are
# ended, last first, and what was changed outside $work is undone. The session bus is the
# road's own, for the desktop's media controls.
work=$(mktemp -d "${TMPDIR:-/tmp}/corvanta-e2e.XXXXXX") pids=() undo=()
cleanup() {
    local rc=$? i
    for i in "${undo[@]}"; do eval "$i" || true; done
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        timeout 5 tail --pid="${pids[i]}" -f /dev/null || kill -9 "${pids[i]}" 2>/dev/null || true
    done
    [ "$rc" -eq 0 ] || [ "$rc" -eq 77 ] || tail -n 20 "$work"/*.log 2>/dev/null || true
    rm -rf "$work"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus"
mkdir -p "$HOME/.config" && mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/dbus.log" 2>&1 &
pids+=($!)
wait_for 10 "the session bus" test -S "$work/run/bus"
unset PULSE_SERVER PULSE_SINK SDL_AUDIODRIVER
readonly rate=$((44100 * 4)) sink="sink_name=corvanta_test format=s16le rate=44100 channels=2"

if [ -n "$server" ]; then
    export PULSE_SERVER=$server
    # shellcheck disable=SC2086 # the module's arguments are words of their own
    undo+=("pactl unload-module $(pactl load-module module-null-sink $sink)")
else
    pulseaudio -n --daemonize=no --disable-shm --exit-idle-time=-1 \
        --load=module-native-protocol-unix --load="module-null-sink $sink" >"$work/pulse.log" 2>&1 &
    pids+=($!)
fi
wait_for 10 "the null sink" sh -c 'pactl list short sinks | grep -q corvanta_test'
parec --device=corvanta_test.monitor --format=s16le --rate=44100 --channels=2 --raw \
    --latency-msec=50 >"$work/heard.raw" 2>"$work/parec.log" &
pids+=($!)
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


# $work/program, whose D: is a disc of a 6 s and a 3 s track; track 1's lyrics, $work/lyrics.txt,
# tagged at the seconds of $tags; white text, the current line red, a black background.
readonly tags=(1 2 3 4) white=ffffff red=ff0000
make_road_program() {
    printf '%s\r\n' 'Corvanta test song' '[00:01]a' '[00:02]bbbbbbbbbb' \
        '[00:03]cccccccccccccccccccc' '[00:04]dd' >"$work/lyrics.txt"
    "$mkdisc" "$work/disc.cue" 6000 3000 || die "mkdisc failed"
    mkdir -p "$work/program/drives"
    cp "$corvanta" "$work/program/corvanta"
    ln -s "$work/disc.cue" "$work/program/drives/d:"
    printf ' 16777215 \r\n 255 \r\n 0 \r\n' >"$work/program/cv.ini"
}
# The view: 577 px wide from 40 px down, 18 px rows, the current line on row 8; read from the X
# window $surface, where the main window's inside begins at $origin_x, $origin_y.
rows_extent() {
    "$band" "$surface" "$origin_x" $((origin_y + 40 + 18 * ($1 - 1))) 577 $((18 * ($2 - $1 + 1))) "$3"
}
tagged_extents() { for i in "${!tags[@]}"; do rows_extent $((8 + i)) $((8 + i)) $white; done | paste -sd ' '; }
# The window around the first tagged line, none of it red: six blank rows, the title, the lines.
plain_window_shown() {
    [ "$(rows_extent 1 6 $white)" -eq -1 ] && [ "$(rows_extent 8 8 $white)" -ge 0 ] &&
        [ "$(rows_extent 12 18 $white)" -eq -1 ] && [ "$(rows_extent 1 18 $red)" -eq -1 ]
}
current_is() { [ "$(rows_extent 8 8 $red)" -eq "$1" ]; }
mpris() {
    dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.corvanta /org/mpris/MediaPlayer2 "$@"
}
# PLAY over the bus as a media key, track 1's lyrics open: each tagged line turns red as its second
# is heard ($extents: their extents in white), and the track is heard whole, alone.
play_track_one() {
    local mark start at_ms i extent
    mark=$(heard)
    mpris org.mpris.MediaPlayer2.Player.Play >/dev/null
    wait_for 15 "sound" sound_after "$mark"
    mpris org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player \
        string:PlaybackStatus | grep -q '"Playing"' || die "the bus does not say it plays"
    start=$(heard)
    read -ra extent <<<"$extents"
    for i in "${!tags[@]}"; do
        wait_for 20 "line $((i + 1)) in red" current_is "${extent[i]}"
        at_ms=$((($(heard) - start) * 1000 / rate))
        say "[00:0${tags[i]}] current with $at_ms ms heard"
        # Never before its second is heard, but for the sound server's latency; how late it is
        # seen depends on how busy the machine is, and the wait bounds only a hang.
        ((at_ms >= tags[i] * 1000 - 600)) || die "line $((i + 1)) turned current with $at_ms ms heard"
    done
    wait_for 20 "silence at the end of track 1" silent_since
    say "heard: $(marks_after "$mark")"
    [[ "$(marks_after "$mark")" =~ ^"256 257 258 259 260 261"( 512)?$ ]] ||
        die "track 1 was not heard whole, alone"
}

# desktop_start: Xvfb on a free display, and openbox on it: every desktop has a window manager,
# and activation, focus and window titles come from it.
desktop_start() {
    exec {fd}>"$work/display"
    Xvfb -displayfd "$fd" -nolisten tcp -noreset -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    exec {fd}>&-
    wait_for 20 "Xvfb" grep -q '^[0-9]' "$work/display" # written once it takes clients
    DISPLAY=":$(head -n 1 "$work/display")" && export DISPLAY
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_for 20 "openbox" sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
}

# start_program FOLDER: the program in that program folder, played through the null sink; sets
# $app_pid and $win.
start_program() {
    QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=pulseaudio PULSE_SINK=corvanta_test \
        "$1/corvanta" >"$work/corvanta.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wait_for 30 "the main window" xdotool search --onlyvisible --name '^Corvanta$'
    win=$(xdotool search --onlyvisible --name '^Corvanta$' | head -n 1)
}
# Where the window's buttons are, in client coordinates.
click_at() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
readonly open_x=28 open_y=20 settings_x=88 settings_y=20 list_x=464 list_y=18
readonly play_x=365 stop_x=392 button_y=18 update_x=552 update_y=20
# Another window of the program's on the screen, the list's popup or the settings window: $other.
other_window() { other=$(xdotool search --onlyvisible --pid "$app_pid" | grep -vx "$win"); }
# The window under the pointer put on the list: whole on the screen, where a press goes to it.
# Openbox brings a minimised window back from its title bar down, over a few frames after it is
# active again; till then a press goes to the desktop, and the window's place still moves.
# xdotool names the window under the pointer by its frame.
list_under_pointer() {
    local under frame
    xdotool mousemove --window "$win" $list_x $list_y
    under=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
    frame=$(xwininfo -id "$win" -tree | awk '/Parent window id:/ && !/root window/ { print $4 }')
    [ "$under" = "$((win))" ] || [ "$under" = "$((frame))" ]
}
# The list's popup, opened with the button held: a release would choose an item if the program
# took its time to show the popup.
open_list() {
    wait_for 15 "the window under the pointer" list_under_pointer
    xdotool mousemove --window "$win" $list_x $list_y mousedown 1
    wait_for 15 "the list's popup" other_window
}
# open_lyrics KEY [PATH]: 開く, the path typed, and the key pressed: Return opens, Escape cancels.
open_lyrics() {
    click_at "$open_x" "$open_y"
    wait_for 30 "the file dialog" xdotool search --onlyvisible --name '^開く$'
    [ $# -lt 2 ] || xdotool type --delay 20 "$2"
    xdotool key "$1"
    wait_for 15 "the file dialog to close" sh -c '! xdotool search --onlyvisible --name "^開く$"'
}
# A disc is held: the media controls name a track.
disc_held() { [ -n "$(playerctl --player=corvanta metadata mpris:trackid 2>/dev/null)" ]; }
# choose_drive N: 設定, the drive N places down its list (0: the first), OK, then 更新; with
# "answered", 更新 once the drive has answered with a disc.
choose_drive() {
    local dialog i
    click_at $settings_x $settings_y
    wait_for 15 "the settings window" other_window
    dialog=$other
    xdotool mousemove --window "$dialog" 216 121 click 1
    sleep 0.3
    xdotool key Home
    for ((i = 0; i < $1; i++)); do xdotool key Down; done
    xdotool key Return
    sleep 0.2
    xdotool mousemove --window "$dialog" 272 196 click 1
    wait_for 15 "the settings window to close" eval '! other_window'
    [ "${2:-}" != answered ] || wait_for 15 "the drive to answer" disc_held
    click_at $update_x $update_y
}
# stall_mount STALLFS: a file system whose disc.toc is there but never opens, at $work/stall;
# false where FUSE is not to be had.
stall_mount() {
    [ -x "$1" ] && [ -e /dev/fuse ] || return 1
    mkdir -p "$work/stall"
    "$1" -f "$work/stall" 2>"$work/stallfs.log" &
    pids+=($!)
    undo+=("fusermount3 -u -z '$work/stall'")
    timeout 5 sh -c "until [ -f '$work/stall/disc.toc' ]; do sleep 0.1; done"
}
