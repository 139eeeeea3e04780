#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# validate_desktop_files.sh FOLDER METAINFO: the .desktop file in FOLDER and
# the configured AppStream metadata pass their validators, appstreamcli
# --pedantic but for the upper-case letters of the released id, and name each
# other. Exit 77 (skip) without the tools.
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

findings=$(desktop-file-validate "${desktop[0]}" 2>&1) || fail "desktop-file-validate: $findings"
[ -z "$findings" ] || fail "desktop-file-validate: $findings"

report=$(appstreamcli validate --pedantic --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli: $report"
tags=$(grep -E '^[EWIP]: ' <<<"$report" | grep -v ': cid-contains-uppercase-letter$' || true)
[ -z "$tags" ] || fail "appstreamcli --pedantic: $tags"

id=$(basename "${desktop[0]}" .desktop)
grep -qx "Icon=$id" "${desktop[0]}" || fail "Icon is not $id"
[ -f "$folder/$id.svg" ] || fail "no icon $id.svg"
grep -q "<id>$id</id>" "$metainfo" && grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the AppStream id or launchable is not $id"
grep -q '@[A-Z_]*@' "$metainfo" && fail "a build variable was left unfilled: $(grep '@[A-Z_]*@' "$metainfo")"
echo "desktop files valid"
