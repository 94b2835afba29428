# Services that scripts start inside a test LAN, each waited for until it is ready.
# Source this file; each function sets a *_pid variable that the caller ends at teardown.

# start_simulator WORKDIR LUMARO-SIM [ARGS...]
# Runs lumaro-sim on every segment of the LAN (segment 0 first), in the simulator's
# namespace, its output in WORKDIR/sim.out; sets sim_pid. Fails with the simulator's
# message when it does not become ready.
start_simulator() {
    local work=$1 sim=$2 segment segments=() segment_list=()
    shift 2
    IFS=, read -ra segment_list <<<"$LUMARO_SIM_SEGMENTS"
    for segment in "${segment_list[@]}"; do segments+=(--segment "$segment"); done
    ip netns exec "$LUMARO_SIM_NETNS" "$sim" "${segments[@]}" "$@" \
        >"$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 200); do
        grep -q '^ready' "$work/sim.out" 2>/dev/null && return 0
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "lumaro-sim did not start: $(cat "$work/sim.out")" >&2
    return 1
}

# start_xvfb WORKDIR GEOMETRY
# A private X screen (e.g. GEOMETRY 1024x768x24) on a free display number; sets xvfb_pid
# and exports DISPLAY.
start_xvfb() {
    local work=$1 geometry=$2
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$work/display")"
}

# serve_screenshots DIR REQUESTS
# Takes pictures of the X screen for a program that cannot reach the screen from inside
# Wine: it writes REQUESTS/shot.request (elsewhere first, then renamed into place) holding
# "NAME X Y WIDTH HEIGHT"; this saves that part of the screen as DIR/NAME.png, removes the
# request and writes NAME into REQUESTS/shot.done. REQUESTS is the run's own folder: runs
# side by side share DIR, and each must shoot its own screen. Sets shot_pid.
serve_screenshots() {
    local dir=$1 requests=$2
    (
        while :; do
            if [ -e "$requests/shot.request" ]; then
                read -r name x y width height <"$requests/shot.request" || true
                import -window root -crop "${width}x${height}+${x}+${y}" +repage \
                    "$dir/$name.png" 2>/dev/null || true
                rm -f "$requests/shot.request"
                echo "$name" >"$requests/shot.done.tmp" &&
                    mv "$requests/shot.done.tmp" "$requests/shot.done"
            fi
            sleep 0.05
        done
    ) &
    shot_pid=$!
}

# make_browser_recorder WORKDIR
# A stand-in for the default browser that writes down every address it is given, one a line,
# in WORKDIR/browser.log; exported as LUMARO_WINE_BROWSER for wine-run.sh.
make_browser_recorder() {
    local work=$1
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$work/browser.log" >"$work/browser"
    chmod +x "$work/browser"
    export LUMARO_WINE_BROWSER="$work/browser"
}
