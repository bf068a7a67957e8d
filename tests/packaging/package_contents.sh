#!/usr/bin/env bash
# The Debian package as apt would see it: its control fields and the files it
# installs. tests/packaging/package_contents.sh BUILD_DIR
set -euo pipefail
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-dev is missing"; exit 77; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$1" && cpack -G DEB -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/taynovid_*_*.deb)

field() { dpkg-deb -f "$deb" "$1"; }
fail() { echo "$*"; exit 1; }
[ "$(field Package)" = taynovid ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = misc ] || fail "Section: $(field Section)"
# The libraries from dpkg-shlibdeps, and what is loaded by name at run time.
for needed in libqt6widgets6 libqt6multimedia6 libjpeg62-turbo qt6-qpa-plugins qt6-translations-l10n \
              fonts-liberation fonts-dejavu-core; do
  field Depends | tr ',' '\n' | grep -q "^ *$needed\b" || fail "Depends lacks $needed: $(field Depends)"
done

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for path in ./usr/bin/taynovid ./usr/libexec/taynovid/taynovid ./usr/libexec/taynovid/report-error \
            ./usr/libexec/taynovid/libtaynovid_audio.so \
            ./usr/share/taynovid/Text/Text1.dat ./usr/share/taynovid/Text/Text65.dat \
            ./usr/share/taynovid/Fanfare.wav ./usr/share/taynovid/udalenie.wav \
            ./usr/share/applications/ru.taynovid.Taynovid.desktop \
            ./usr/share/metainfo/ru.taynovid.Taynovid.metainfo.xml \
            ./usr/share/icons/hicolor/16x16/apps/ru.taynovid.Taynovid.png \
            ./usr/share/icons/hicolor/256x256/apps/ru.taynovid.Taynovid.png \
            ./usr/share/man/man1/taynovid.1.gz ./usr/share/doc/taynovid/copyright; do
  grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done
[ "$(grep -c '^./usr/share/taynovid/Text/Text[0-9]*\.dat$' <<<"$files")" = 65 ] || fail "not 65 readings"
# Nothing outside /usr, and nothing a user owns: no settings file.
stray=$(grep -v '^\./usr/' <<<"$files" | grep -vx '\./' || true)
[ -z "$stray" ] || fail "outside /usr: $stray"
! grep -q 'Save\.Bmp' <<<"$files" || fail "the package carries a settings file"
# Shared data is read-only for everyone but root.
perms=$(dpkg-deb -c "$deb" | awk '$6 ~ /^\.\/usr\/share\/taynovid\/.*\.(dat|wav)$/ { print $1 " " $2 }' | sort -u)
[ "$perms" = "-rw-r--r-- root/root" ] || fail "shared data is $perms"
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
