#!/usr/bin/env bash
# validate_desktop_files.sh FOLDER: the .desktop file and the AppStream
# metadata in FOLDER pass their validators. Exit 77 (skip) without the tools.
set -euo pipefail
folder=$1
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed (scripts/install-deps.sh --with-tools)"; exit 77; }
done

shopt -s nullglob
desktop=("$folder"/*.desktop)
metainfo=("$folder"/*.metainfo.xml)
[ ${#desktop[@]} -eq 1 ] || { echo "FAIL: expected one .desktop file in $folder"; exit 1; }
[ ${#metainfo[@]} -eq 1 ] || { echo "FAIL: expected one .metainfo.xml file in $folder"; exit 1; }

# desktop-file-validate prints its findings but exits 0 on mere hints: any output fails.
findings=$(desktop-file-validate "${desktop[0]}" 2>&1) || { echo "$findings"; exit 1; }
[ -z "$findings" ] || { echo "FAIL: desktop-file-validate: $findings"; exit 1; }
appstreamcli validate --no-net "${metainfo[0]}"

# The three files name each other: the icon and the launchable are the entry's id.
id=$(basename "${desktop[0]}" .desktop)
grep -qx "Icon=$id" "${desktop[0]}" || { echo "FAIL: Icon is not $id"; exit 1; }
[ -f "$folder/$id.svg" ] || { echo "FAIL: no icon $id.svg"; exit 1; }
grep -q "<id>$id</id>" "${metainfo[0]}" || { echo "FAIL: AppStream id is not $id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "${metainfo[0]}" \
    || { echo "FAIL: AppStream launchable is not $id.desktop"; exit 1; }
echo "desktop files valid"
