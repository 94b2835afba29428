#!/usr/bin/env bash
# What the package of the console installs besides the programs, checked against the
# programs themselves: both answer --version with the project's version; their manual pages
# render without a warning and carry every command and option that --help lists; the bash
# completion offers exactly the commands and options that --help lists, and the values of
# --format.
#
#   console_docs_test.sh LUMARO-CLI LUMARO-SIM LUMARO-CLI.1 LUMARO-SIM.1 COMPLETION VERSION
# (--help and --version open no socket.)
set -uo pipefail
[ $# -eq 6 ] || { echo "usage: console_docs_test.sh CLI SIM CLI.1 SIM.1 COMPLETION VERSION" >&2; exit 2; }
cli=$1 sim=$2 cli_page=$3 sim_page=$4 completion=$5 version=$6
export LC_ALL=C.UTF-8 MANWIDTH=100

source "$(dirname "$0")/../../scripts/lib/checks.sh"

# The subcommands that lumaro-cli --help lists, and the long options that a --help lists.
commands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | sed -nE 's/^  ([a-z][a-z-]*) .*/\1/p' | tr '\n' ' ')
options_of() { "$cli" "$@" --help | grep -oE '^ +(-[a-z],)?--[a-z-]+' | grep -oE -- '--[a-z-]+'; }
sorted() { tr ' ' '\n' | sed '/^$/d' | sort | tr '\n' ' '; }

check "lumaro-cli --help lists the six commands" \
    same "$commands" "search enable-web set-address sync-time web-off doctor "

for program in "$cli" "$sim"; do
    name=$(basename "$program")
    output=$("$program" --version)
    status=$?
    check "$name --version prints its name and $version" same "$output" "$name $version"
    check "$name --version exits with 0" same "$status" 0
done

for page in "$cli_page" "$sim_page"; do
    name=$(basename "$page" .1)
    warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
    check "the manual page of $name renders without a warning" same "$warnings" ""
    check "the manual page of $name carries the version" \
        grep -q "^\.TH .*\"$name $version\"" "$page"
    text=$(man -l "$page" 2>/dev/null)
    check "the manual page of $name has its synopsis" grep -q "^SYNOPSIS" <<<"$text"
done
text=$(man -l "$cli_page" 2>/dev/null)
for command in $commands; do
    check "the manual page of lumaro-cli describes '$command'" \
        grep -qE "^   $command\$" <<<"$(sed -n '/^COMMANDS/,/^[A-Z]/p' <<<"$text")"
    for option in $(options_of "$command"); do
        check "the manual page of lumaro-cli describes '$command $option'" \
            grep -qE -- "^ +(-[a-z], ?)?$option( |\$)" <<<"$(sed -n "/^   $command\$/,/^   [a-z]/p" <<<"$text")"
    done
done
sim_text=$(man -l "$sim_page" 2>/dev/null)
for option in $("$sim" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+'); do
    check "the manual page of lumaro-sim describes $option" grep -qE -- "^ +(-[a-z], ?)?$option( |\$)" <<<"$sim_text"
done

# complete WORD... : what the completion offers for the last word, sorted, one line.
complete_words() {
    bash -c '
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _lumaro_cli; printf "%s\n" "${COMPREPLY[@]}"' completion "$completion" "$@" | sorted
}
check "the completion is for lumaro-cli" \
    bash -c 'source "$1" && complete -p lumaro-cli | grep -q "_lumaro_cli"' completion "$completion"
check "the completion offers every command, --help, --version and --ui-language" \
    same "$(complete_words lumaro-cli '')" "$(echo "$commands --help --version --ui-language" | sorted)"
for command in $commands; do
    check "the completion offers the options of '$command' that its --help lists" \
        same "$(complete_words lumaro-cli "$command" --)" "$(options_of "$command" | sorted)"
done
while IFS='|' read -r words expected; do
    read -ra line <<<"$words"
    [ "${words: -1}" != " " ] || line+=("")
    check "the completion of '$words' is '$expected'" same "$(complete_words "${line[@]}")" "$expected"
done <<'CASES'
lumaro-cli en|enable-web 
lumaro-cli enable-web --d|--date-format --dry-run 
lumaro-cli search --format |csv json tsv 
lumaro-cli enable-web --all --format j|json 
lumaro-cli --help search --format c|csv 
lumaro-cli set-address --language |
lumaro-cli enable-web --date-format |
lumaro-cli doctor |--help 
lumaro-cli unknown-command |
CASES

checks_end
