#!/usr/bin/env bash
# Isolated test LAN made of network namespaces, holding no real interface.
#
#   lab.sh up   NAME [options]         create the LAN
#   lab.sh down NAME                   stop what runs in it (by process id) and remove it
#   lab.sh run  NAME [options] -- CMD  create it, run CMD in the PC namespace, remove it;
#                                      exits with CMD's status. NAME+ makes a unique name.
#
# Namespaces: NAME-pc (the PC), NAME-sw (one bridge per segment: the switch),
# NAME-sim (the simulator's side: one interface seg<S> per segment, no address).
# In NAME-pc each interface pc<I> is a veth into the bridge of its segment.
#
# Options:
#   --segments N             number of controller segments (default 1)
#   --pc SEG:CIDR[,CIDR...]  one PC interface on segment SEG with these addresses;
#                            repeat for more interfaces (default: --pc 0:10.0.1.1/24)
#   --no-pc                  no PC interface at all: the PC has its loopback only
#   --lo CIDR                an extra address on the PC's loopback (e.g. 127.0.0.2/8)
#
# CMD sees LUMARO_LAB, LUMARO_PC_NETNS, LUMARO_SIM_NETNS, LUMARO_SIM_SEGMENTS
# (comma-separated simulator interfaces, segment 0 first) and LUMARO_PC_HOSTS (the PC's
# addresses on the segments as SEG:ADDRESS=MAC, comma-separated).
#
# Nothing here writes a machine-wide kernel setting: the LANs fit the kernel's defaults
# (a container's own network namespace has none to write). The neighbour table is shared by
# every namespace (1024 entries by default); simulated controllers hold the PC's addresses
# as fixed entries (LUMARO_PC_HOSTS), which the kernel does not count, so a crowd of them
# answering the PC fills no table.
set -euo pipefail

die() { echo "lab.sh: $*" >&2; exit 2; }
[ $# -ge 2 ] || die "usage: lab.sh up|down|run NAME [options] [-- CMD...]"
action=$1 name=$2
shift 2
# A name ending in '+' gets this run's process id appended, so that parallel runs of
# the same test each have their own LAN (only useful with 'run').
case $name in *+) name="${name%+}-$$" ;; esac
ns_pc="$name-pc" ns_sw="$name-sw" ns_sim="$name-sim"

in_ns() { local ns=$1; shift; ip netns exec "$ns" "$@"; }

quiet_sysctls() {
    # No IPv6 chatter, no reverse-path filtering: controllers may answer from addresses
    # that are not in the PC's subnet.
    local ns=$1
    in_ns "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 \
        net.ipv4.conf.all.rp_filter=0 net.ipv4.conf.default.rp_filter=0 >/dev/null
}

lab_up() {
    local segments=1 pcs=() los=() no_pc=""
    while [ $# -gt 0 ]; do
        case $1 in
            --segments) segments=$2; shift 2 ;;
            --pc) pcs+=("$2"); shift 2 ;;
            --no-pc) no_pc=1; shift ;;
            --lo) los+=("$2"); shift 2 ;;
            *) die "unknown option $1" ;;
        esac
    done
    if [ -n "$no_pc" ]; then
        [ ${#pcs[@]} -eq 0 ] || die "--no-pc and --pc exclude each other"
    elif [ ${#pcs[@]} -eq 0 ]; then
        pcs=("0:10.0.1.1/24")
    fi

    for ns in "$ns_pc" "$ns_sw" "$ns_sim"; do
        ip netns add "$ns"
        quiet_sysctls "$ns"
        ip -n "$ns" link set lo up
    done
    # Many controllers share one segment interface in the simulator's namespace: each
    # answers ARP only for its own address, from its own interface. The PC does the same,
    # as Windows does: with two PC interfaces on one segment, an address's replies must
    # arrive on the interface that holds it (Wine ties a socket to that interface).
    local ns
    for ns in "$ns_sim" "$ns_pc"; do
        in_ns "$ns" sysctl -qw net.ipv4.conf.all.arp_ignore=1 net.ipv4.conf.default.arp_ignore=1 \
            net.ipv4.conf.all.arp_announce=2 net.ipv4.conf.default.arp_announce=2 >/dev/null
    done

    local s
    seg_list=""
    for ((s = 0; s < segments; s++)); do
        ip -n "$ns_sw" link add "br$s" type bridge
        ip -n "$ns_sw" link set "br$s" up
        ip -n "$ns_sim" link add "seg$s" type veth peer name "s$s" netns "$ns_sw"
        ip -n "$ns_sw" link set "s$s" master "br$s" up
        ip -n "$ns_sim" link set "seg$s" up
        seg_list+="${seg_list:+,}seg$s"
    done

    local i=0 spec seg cidrs cidr mac
    pc_hosts=""
    for spec in "${pcs[@]}"; do
        seg=${spec%%:*} cidrs=${spec#*:}
        [ "$seg" -lt "$segments" ] || die "--pc $spec: no segment $seg"
        ip -n "$ns_pc" link add "pc$i" type veth peer name "p$i" netns "$ns_sw"
        ip -n "$ns_sw" link set "p$i" master "br$seg" up
        mac=$(ip -n "$ns_pc" -o link show "pc$i" | sed -n 's|.* link/ether \([0-9a-f:]*\) .*|\1|p')
        IFS=, read -ra cidr_list <<<"$cidrs"
        for cidr in "${cidr_list[@]}"; do
            ip -n "$ns_pc" addr add "$cidr" dev "pc$i"
            pc_hosts+="${pc_hosts:+,}$seg:${cidr%/*}=$mac"
        done
        ip -n "$ns_pc" link set "pc$i" up
        i=$((i + 1))
    done
    for cidr in "${los[@]}"; do
        ip -n "$ns_pc" addr add "$cidr" dev lo
    done
}

lab_down() {
    local ns pid
    for ns in "$ns_pc" "$ns_sim" "$ns_sw"; do
        [ -e "/run/netns/$ns" ] || continue
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -TERM "$pid" 2>/dev/null || true; done
    done
    for ns in "$ns_pc" "$ns_sim" "$ns_sw"; do
        [ -e "/run/netns/$ns" ] || continue
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            [ -z "$(ip netns pids "$ns" 2>/dev/null)" ] && break
            sleep 0.2
        done
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null || true; done
        ip netns del "$ns" 2>/dev/null || true
    done
}

case $action in
    up) lab_up "$@" ;;
    down) lab_down ;;
    run)
        opts=()
        while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
        [ $# -gt 1 ] || die "run needs -- CMD"
        shift
        trap lab_down EXIT
        child=""
        # The command runs in the background so that a TERM (a test runner's timeout)
        # reaches this script at once: it stops the command and removes the LAN.
        stop_child() {  # let the command clean up after itself (up to 10 s) before teardown
            [ -n "$child" ] || return 0
            kill "-$1" "$child" 2>/dev/null || return 0
            for _ in $(seq 50); do kill -0 "$child" 2>/dev/null || return 0; sleep 0.2; done
        }
        trap 'stop_child TERM; exit 143' TERM
        trap 'stop_child INT; exit 130' INT
        lab_up "${opts[@]}"
        exec 3<&0  # a background command would otherwise read /dev/null
        in_ns "$ns_pc" env LUMARO_LAB="$name" LUMARO_PC_NETNS="$ns_pc" LUMARO_SIM_NETNS="$ns_sim" \
            LUMARO_SIM_SEGMENTS="$seg_list" LUMARO_PC_HOSTS="$pc_hosts" "$@" <&3 &
        child=$!
        status=0
        wait "$child" || status=$?
        exit $status
        ;;
    *) die "unknown action $action" ;;
esac
