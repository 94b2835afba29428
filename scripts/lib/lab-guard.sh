# The guard of every script that opens sockets or starts Wine: it runs only inside a test
# LAN of its own (scripts/lab.sh), never in the machine's own network namespace.
# Source this file.

# run_in_own_lab NAME [LAB-OPTIONS...] -- SCRIPT [ARGS...]
# Outside a lab (LUMARO_LAB unset): runs SCRIPT ARGS again inside a fresh lab,
# "lab.sh run NAME+ LAB-OPTIONS -- SCRIPT ARGS", and never returns. Inside a lab: returns,
# unless this is not the lab's PC namespace after all, which ends the script.
run_in_own_lab() {
    local name=$1 lab_options=()
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do lab_options+=("$1"); shift; done
    [ $# -ge 2 ] || { echo "run_in_own_lab: usage: NAME [LAB-OPTIONS...] -- SCRIPT [ARGS...]" >&2; exit 2; }
    shift
    if [ -z "${LUMARO_LAB:-}" ]; then
        exec "$(dirname "${BASH_SOURCE[0]}")/../lab.sh" run "$name+" "${lab_options[@]}" -- "$@"
    fi
    # Asked positively: this must be the PC namespace that lab.sh made. (Comparing with
    # process 1's namespace proves nothing where /proc/1 cannot be read.)
    local here_ns
    here_ns=$(ip netns identify 2>/dev/null || true)
    if [ -z "$here_ns" ] || [ "$here_ns" != "${LUMARO_PC_NETNS:-}" ]; then
        echo "$(basename "$1"): LUMARO_LAB is set but this is not the lab's PC namespace" \
            "(namespace: ${here_ns:-none made by lab.sh})" >&2
        exit 2
    fi
}
