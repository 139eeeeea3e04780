#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_debian_package.sh BUILD_DIR [BUILD_TYPE]: CPack's Debian package passes
# lintian -I -E --pedantic, holds the program, sounds, desktop files, manual pages
# and copyright, with its dependencies, maintainer and home page; its ELF files
# have no RPATH or RUNPATH, symbol table or compiler notes. Exit 77: no tools.
set -euo pipefail
build_dir=$1
build_type=${2:-Release}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian readelf; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed (scripts/install-deps.sh --with-tools)"; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$out/cpack.log")"
package=$(ls "$out"/*.deb)

contents=$(dpkg-deb -c "$package")
id=io.github.hoshinotamago.HoshiNoTamago
for file in usr/bin/hoshinotamago usr/share/hoshinotamago/{ding,zannen,boo}.wav usr/share/applications/$id.desktop \
            usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/metainfo/$id.metainfo.xml \
            usr/share/man/man1/hoshinotamago.1.gz usr/share/man/ja/man1/hoshinotamago.1.gz \
            usr/share/doc/hoshinotamago/copyright; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done
dpkg-deb -x "$package" "$out/root"
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -tx1 | tr -d ' \n')" = 7f454c46 ] || continue
    readelf -d "$file" | grep -Eq '\((RPATH|RUNPATH)\)' && fail "${file#"$out/root"} has a RUNPATH"
    readelf -S -W "$file" | grep -Eq ' \.(symtab|comment) ' && fail "${file#"$out/root"} is not fully stripped"
done < <(find "$out/root" -type f -print0)

depends=$(dpkg-deb -f "$package" Depends)
for needed in fonts-ipafont-gothic speech-dispatcher \
              libqt6widgets6 libqt6multimedia6 libspeechd2 libmecab2 \
              speech-dispatcher-espeak-ng mecab-naist-jdic; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks '$needed': $depends"
done
field() { dpkg-deb -f "$package" "$1"; }
[[ $(field Recommends) == *qt6-wayland* && $(field Section) = education && $(field Homepage) == https://* ]] \
    || fail "Recommends, Section or Homepage: $(field Recommends Section Homepage)"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ && $(field Maintainer) != *example.* ]] \
    || fail "the maintainer is not a name and an address: '$(field Maintainer)'"

# An ITP bug matters only for an upload to Debian; a debug build is not hardened.
allowed=initial-upload-closes-no-bugs
[ "$build_type" = Release ] || allowed+=,hardening-no-fortify-functions,hardening-no-bindnow
findings=$(lintian -I -E --pedantic --suppress-tags "$allowed" "$package" 2>"$out/lintian.log") \
    || fail "lintian failed: $findings $(cat "$out/lintian.log")"
[ -z "$findings" ] || fail "lintian -I -E --pedantic on $(basename "$package"): $findings"
echo "debian package passed"
