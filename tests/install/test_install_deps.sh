#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# test_install_deps.sh SCRIPT: scripts/install-deps.sh run by a user who is not
# root, with and without sudo, where every package is missing (fake id,
# dpkg-query, sudo and apt-get).
set -euo pipefail
script=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
for tool in bash grep cat env; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
fake() { printf '#!%s\n%s\n' "$(command -v bash)" "$2" >"$bin/$1"; chmod +x "$bin/$1"; }
fake id '[ "$1" = -u ] && echo 1000 || echo user'
fake dpkg-query 'exit 1'
fake apt-get "echo \"apt-get \$*\" >>'$bin/calls'"
run() { status=0; output=$(PATH=$bin "$(command -v bash)" "$script" "$@" 2>&1) || status=$?; }

# Without sudo: the exact command for root, and status 1.
run
[ "$status" -eq 1 ] || fail "without sudo: status $status, expected 1: $output"
line=$(grep -E '^ *apt-get update && apt-get install -y ' <<<"$output" || true)
[[ $line == *" qt6-base-dev "* && $line == *" cmake"* ]] || fail "no apt-get line with the build packages: $output"
[[ $line == *" xvfb"* ]] && fail "running the program does not need the test tools: $line"
[ ! -e "$bin/calls" ] || fail "apt-get ran without root: $(cat "$bin/calls")"
run --for-tests
[[ $output == *" xvfb"* && $output == *" xdotool"* ]] || fail "--for-tests does not name the test tools: $output"

fake sudo "echo \"sudo \$*\" >>'$bin/calls'"
run
[ "$status" -eq 0 ] || fail "with sudo: status $status: $output"
grep -q '^sudo .*apt-get install -y .*qt6-base-dev' "$bin/calls" || fail "sudo did not install: $(cat "$bin/calls")"
echo "install-deps passed"
