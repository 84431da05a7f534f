#!/usr/bin/env bash
# Runs check_executable.sh and passes only when it refuses the program for the expected
# reason, so that a checker which accepts everything is caught.
#   expect_rejection.sh <expected text> <check_executable.sh arguments...>
set -uo pipefail
expected=$1
shift
output=$("$(dirname "$0")/check_executable.sh" "$@")
status=$?
echo "$output"
if [ "$status" -ne 1 ]; then
    echo "expected the check to fail with status 1, got $status"
    exit 1
fi
if ! grep -qF -- "$expected" <<<"$output"; then
    echo "expected the failure to name: $expected"
    exit 1
fi
