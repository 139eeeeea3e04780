#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_installed_elf.sh BUILD_DIR: a stripped install (what the package
# holds) of every ELF file, the program and any library or plugin, has no
# RPATH or RUNPATH, no symbol table and no compiler notes (.comment).
set -euo pipefail
build_dir=$1
command -v readelf >/dev/null || { echo "SKIP: readelf not installed (binutils)"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" --strip >"$prefix.log" 2>&1 \
    || fail "cmake --install --strip failed: $(cat "$prefix.log")"
rm -f "$prefix.log"

elves=()
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -tx1 | tr -d ' \n')" = 7f454c46 ] && elves+=("$file")
done < <(find "$prefix" -type f -print0)
[[ " ${elves[*]} " == *" $prefix/bin/hoshinotamago "* ]] || fail "the program is not among the installed ELF files: ${elves[*]}"

for file in "${elves[@]}"; do
    name=${file#"$prefix"/}
    dynamic=$(readelf -d "$file")
    grep -Eq '\((RPATH|RUNPATH)\)' <<<"$dynamic" && fail "$name has $(grep -E 'RPATH|RUNPATH' <<<"$dynamic")"
    sections=$(readelf -S -W "$file")
    grep -q ' \.symtab ' <<<"$sections" && fail "$name is not stripped"
    grep -q ' \.comment ' <<<"$sections" && fail "$name keeps a .comment section"
done
echo "${#elves[@]} installed ELF files: no RUNPATH, stripped"
