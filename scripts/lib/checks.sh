# Named checks for the shell tests: each prints PASS or FAIL with its description and is
# counted; checks_end prints the counts and fails when any check failed.
#   source scripts/lib/checks.sh
#   check "DESCRIPTION" COMMAND...
#   same "$got" "$expected"     (a command for check: prints both when they differ)
#   checks_end [PREFIX]

passed=0 failed=0

check() {  # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "PASS $description"
    else
        failed=$((failed + 1))
        echo "FAIL $description"
    fi
}

same() { [ "$1" = "$2" ] || { printf '  expected: %s\n  got:      %s\n' "$2" "$1"; return 1; }; }

checks_end() {  # checks_end [PREFIX]
    echo "${1:+$1: }$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
