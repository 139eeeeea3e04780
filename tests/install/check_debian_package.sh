#!/usr/bin/env bash
# check_debian_package.sh BUILD_DIR: CPack makes a Debian package from the
# build, lintian finds no error or warning in it, and it holds the program,
# its sounds in the data folder and its desktop files. Exit 77 (skip) where
# dpkg-shlibdeps or lintian are not installed.
set -euo pipefail
build_dir=$1
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
            usr/share/metainfo/io.github.hoshinotamago.HoshiNoTamago.metainfo.xml; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done

depends=$(dpkg-deb -f "$package" Depends)
for needed in "qt6-speech-speechd-plugin | qt6-speech-flite-plugin" fonts-ipafont-gothic \
              libqt6widgets6 libqt6multimedia6 libqt6texttospeech6 libspeechd2 libmecab2 \
              speech-dispatcher-espeak-ng mecab-naist-jdic; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks '$needed': $depends"
done
[ "$(dpkg-deb -f "$package" Section)" = education ] || fail "section is not education"

# Closing an ITP bug only matters for an upload to Debian itself.
lintian --suppress-tags initial-upload-closes-no-bugs --fail-on error,warning "$package" \
    || fail "lintian found problems in $(basename "$package")"
echo "debian package passed"
