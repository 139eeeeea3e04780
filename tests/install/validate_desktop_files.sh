#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# validate_desktop_files.sh FOLDER METAINFO: the .desktop file in FOLDER and
# the AppStream metadata METAINFO (as configured by the build) pass their
# validators, appstreamcli at its pedantic level with one note allowed: the
# reverse-DNS id has upper-case letters, kept as it is released. Exit 77
# (skip) without the tools.
set -euo pipefail
folder=$1
metainfo=$2
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed (scripts/install-deps.sh --with-tools)"; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }

shopt -s nullglob
desktop=("$folder"/*.desktop)
[ ${#desktop[@]} -eq 1 ] || fail "expected one .desktop file in $folder"
[ -f "$metainfo" ] || fail "no metainfo at $metainfo"

# desktop-file-validate prints its findings but exits 0 on mere hints: any output fails.
findings=$(desktop-file-validate "${desktop[0]}" 2>&1) || fail "desktop-file-validate: $findings"
[ -z "$findings" ] || fail "desktop-file-validate: $findings"

report=$(appstreamcli validate --pedantic --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli: $report"
# Every finding is a line "X: id:line: tag" (X one of E W I P); only the id note may remain.
tags=$(grep -E '^[EWIP]: ' <<<"$report" | grep -v ': cid-contains-uppercase-letter$' || true)
[ -z "$tags" ] || fail "appstreamcli --pedantic: $tags"

# The three files name each other: the icon and the launchable are the entry's id.
id=$(basename "${desktop[0]}" .desktop)
grep -qx "Icon=$id" "${desktop[0]}" || fail "Icon is not $id"
[ -f "$folder/$id.svg" ] || fail "no icon $id.svg"
grep -q "<id>$id</id>" "$metainfo" || fail "AppStream id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "AppStream launchable is not $id.desktop"
grep -q '@[A-Z_]*@' "$metainfo" && fail "a build variable was left unfilled: $(grep '@[A-Z_]*@' "$metainfo")"
echo "desktop files valid"
