#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_installed_elf.sh BUILD_DIR: in a stripped install (what the package
# holds) every ELF file, the program among them, has no RPATH or RUNPATH, no
# symbol table and no compiler notes (.comment).
set -euo pipefail
command -v readelf >/dev/null || { echo "SKIP: readelf not installed (binutils)"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix" "$prefix.log"' EXIT
cmake --install "$1" --prefix "$prefix" --strip >"$prefix.log" 2>&1 || fail "cmake --install --strip failed: $(cat "$prefix.log")"

count=0
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -tx1 | tr -d ' \n')" = 7f454c46 ] || continue
    count=$((count + 1))
    name=${file#"$prefix"/}
    [ "$name" = bin/hoshinotamago ] && program=found
    readelf -d "$file" | grep -Eq '\((RPATH|RUNPATH)\)' && fail "$name has a RUNPATH"
    readelf -S -W "$file" | grep -Eq ' \.(symtab|comment) ' && fail "$name is not fully stripped"
done < <(find "$prefix" -type f -print0)
[ -n "${program:-}" ] || fail "the program is not among the $count installed ELF files"
echo "$count installed ELF files: no RUNPATH, stripped"
