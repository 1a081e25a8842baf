# Sourced by the shell tests: numbered checks and the closing count line.
passed=0
failed=0

check() {  # DESCRIPTION COMMAND...: the check passes when COMMAND succeeds
    local what=$1
    shift
    if "$@"; then
        echo "ok  : $what"
        passed=$((passed + 1))
    else
        echo "FAIL: $what"
        failed=$((failed + 1))
    fi
}

# Prints "N passed, N failed"; the status is 0 only when none failed.
finish_checks() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
