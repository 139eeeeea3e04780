#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_debian_package.sh BUILD_DIR [BUILD_TYPE]: CPack makes a Debian package
# from the build that lintian passes at every level (-I -E --pedantic), and
# it holds the program, its sounds, desktop files, both manual pages and the
# machine-readable copyright, with a real maintainer and a home page (its ELF
# files are those of install_elf_files). Exit 77 (skip) without the tools.
set -euo pipefail
build_dir=$1
build_type=${2:-Release}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed (scripts/install-deps.sh --with-tools)"; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$out/cpack.log")"
package=$(ls "$out"/*.deb)

contents=$(dpkg-deb -c "$package")
for file in usr/bin/hoshinotamago usr/share/hoshinotamago/{ding,zannen,boo}.wav \
            usr/share/applications/io.github.hoshinotamago.HoshiNoTamago.desktop \
            usr/share/icons/hicolor/scalable/apps/io.github.hoshinotamago.HoshiNoTamago.svg \
            usr/share/metainfo/io.github.hoshinotamago.HoshiNoTamago.metainfo.xml \
            usr/share/man/man1/hoshinotamago.1.gz usr/share/man/ja/man1/hoshinotamago.1.gz \
            usr/share/doc/hoshinotamago/copyright; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done

depends=$(dpkg-deb -f "$package" Depends)
for needed in fonts-ipafont-gothic speech-dispatcher \
              libqt6widgets6 libqt6multimedia6 libspeechd2 libmecab2 \
              speech-dispatcher-espeak-ng mecab-naist-jdic; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks '$needed': $depends"
done
[[ $(dpkg-deb -f "$package" Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland"
[ "$(dpkg-deb -f "$package" Section)" = education ] || fail "section is not education"
[[ $(dpkg-deb -f "$package" Homepage) == https://* ]] || fail "no Homepage"
maintainer=$(dpkg-deb -f "$package" Maintainer)
[[ $maintainer =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ && $maintainer != *example.* ]] \
    || fail "the maintainer is not a name and an address: '$maintainer'"

# An ITP bug matters only for an upload to Debian; a debug build is not hardened.
allowed=initial-upload-closes-no-bugs
[ "$build_type" = Release ] || allowed+=,hardening-no-fortify-functions,hardening-no-bindnow
findings=$(lintian -I -E --pedantic --suppress-tags "$allowed" "$package" 2>"$out/lintian.log") \
    || fail "lintian failed: $findings $(cat "$out/lintian.log")"
[ -z "$findings" ] || fail "lintian -I -E --pedantic on $(basename "$package"): $findings"
echo "debian package passed"
