#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# test_install_deps.sh SCRIPT: scripts/install-deps.sh run by a user who is
# not root, with and without sudo, on a machine that lacks every package.
# Fake id, dpkg-query, sudo and apt-get stand in for the real ones.
set -euo pipefail
script=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
for tool in bash grep cat env; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
printf '#!%s\n[ "$1" = -u ] && echo 1000 || echo user\n' "$(command -v bash)" >"$bin/id"
printf '#!%s\nexit 1\n' "$(command -v bash)" >"$bin/dpkg-query"
printf '#!%s\necho "apt-get $*" >>"%s/calls"\n' "$(command -v bash)" "$bin" >"$bin/apt-get"
chmod +x "$bin/id" "$bin/dpkg-query" "$bin/apt-get"
run() {
    set +e
    output=$(PATH=$bin "$(command -v bash)" "$script" "$@" 2>&1)
    status=$?
    set -e
}

# Without sudo: the exact command for root, and status 1.
run
[ "$status" -eq 1 ] || fail "without sudo: status $status, expected 1: $output"
line=$(grep -E '^ *apt-get update && apt-get install -y ' <<<"$output" || true)
[ -n "$line" ] || fail "without sudo it printed no apt-get line: $output"
[[ $line == *" qt6-base-dev "* && $line == *" cmake"* ]] || fail "the line lacks the build packages: $line"
[[ $line == *" xvfb"* ]] && fail "running the program does not need the test tools: $line"
[ ! -e "$bin/calls" ] || fail "apt-get ran without root: $(cat "$bin/calls")"

run --for-tests
[[ $output == *" xvfb"* && $output == *" xdotool"* ]] || fail "--for-tests does not name the test tools: $output"

# With sudo: the packages are installed through it.
printf '#!%s\necho "sudo $*" >>"%s/calls"\n' "$(command -v bash)" "$bin" >"$bin/sudo"
chmod +x "$bin/sudo"
run
[ "$status" -eq 0 ] || fail "with sudo: status $status: $output"
grep -q '^sudo .*apt-get install -y .*qt6-base-dev' "$bin/calls" || fail "sudo did not install: $(cat "$bin/calls")"
echo "install-deps passed"
