#!/usr/bin/env bash
# Builds the Debian package twice with packaging/build-deb.sh (dpkg-buildpackage; the unit tests left to
# ./test), in two scratch folders, one after the other, under another time zone, locale and umask, and
# checks that the two are bit-identical. Then checks the first as Debian and a user's system see it:
# lintian at its most pedantic, hardening-check, control fields, contents, the desktop entry, metainfo
# and MIME type validators, the man page and the installed program.
# Usage: check-package.sh VERSION SOURCE_DIR
set -uo pipefail
version=$1 source=$2
id=org.panelconfig.PanelConfig
arch=$(dpkg --print-architecture)

scratch=$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
# Runs a check; on failure shows what it printed.
check() {
  local what=$1; shift
  if ! "$@" >"$scratch/out.txt" 2>&1; then fail "$what"; sed 's/^/  | /' "$scratch/out.txt"; return 1; fi
}
# build NAME TZ LOCALE UMASK: the package into $scratch/NAME.
build() {
  local started=$SECONDS
  if ! (umask "$4" && env TZ="$2" LC_ALL="$3" DEB_BUILD_OPTIONS=nocheck \
          "$source/packaging/build-deb.sh" "$scratch/$1") >"$scratch/$1.log" 2>&1; then
    cat "$scratch/$1.log"; echo "FAIL: the package build $1 failed"; exit 1
  fi
  echo "build $1 (TZ=$2 LC_ALL=$3 umask $4): $((SECONDS - started)) s"
}
build first UTC C.UTF-8 022
build second Pacific/Auckland C 002

deb=$scratch/first/panelconfig_${version}_$arch.deb
[ -f "$deb" ] || { ls -l "$scratch/first"; echo "FAIL: no $(basename "$deb")"; exit 1; }
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Reproducible: the same commit built twice gives the same bytes, the debug symbols too.
for f in panelconfig_${version}_$arch.deb panelconfig-dbgsym_${version}_$arch.deb; do
  a=$(sha256sum <"$scratch/first/$f" | cut -d' ' -f1) b=$(sha256sum <"$scratch/second/$f" 2>/dev/null | cut -d' ' -f1)
  echo "sha256 $f: $a / $b"
  [ "$a" = "$b" ] || fail "$f differs between two builds of the same source"
done

# lintian, every tag down to pedantic and informational ones: none.
lintian --pedantic --display-info "$scratch/first/panelconfig_${version}_$arch.changes" 2>&1 |
  grep -v 'running with root privileges' >"$scratch/lintian.txt"
[ -s "$scratch/lintian.txt" ] && { fail "lintian reports tags"; sed 's/^/  | /' "$scratch/lintian.txt"; }

root=$scratch/root
check "dpkg-deb -x" dpkg-deb -x "$deb" "$root" || exit 1
share=$root/usr/share

# Every hardening feature found in the program.
hardening-check "$root/usr/bin/panelconfig" >"$scratch/hardening.txt" 2>&1
sed 's/^/  /' "$scratch/hardening.txt"
grep -qE ': no\b' "$scratch/hardening.txt" && fail "hardening-check finds a feature missing"

# Control fields: name, version, the font the window is laid out in, Qt's Wayland platform, and the
# libraries found by dpkg-shlibdeps in the program.
[ "$(dpkg-deb -f "$deb" Package)" = panelconfig ] || fail "Package is '$(dpkg-deb -f "$deb" Package)'"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is '$(dpkg-deb -f "$deb" Version)', not $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in "fonts-liberation2 | fonts-liberation" libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
  [[ $depends == *"$dep"* ]] || fail "Depends lacks $dep"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends is '$(dpkg-deb -f "$deb" Recommends)'"
# (Here-strings, not pipes into grep -q: with pipefail, a writer cut off by grep's early exit fails the check.)
grep -q -- '--write, --verify, --read' <<<"$(dpkg-deb -f "$deb" Description)" ||
  fail "the description lacks the production line"

dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$scratch/contents.txt"
icons=("$share/icons/hicolor/scalable/apps/$id.svg" "$share/icons/hicolor/scalable/mimetypes/application-x-panelconfig.svg")
for size in 16 24 32 48 64 128 256; do icons+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"); done
for path in /usr/bin/panelconfig "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
            "/usr/share/mime/packages/$id.xml" /usr/share/man/man1/panelconfig.1.gz \
            /usr/share/doc/panelconfig/copyright /usr/share/doc/panelconfig/changelog.gz \
            /usr/share/doc/panelconfig/README.Debian "${icons[@]#$root}"; do
  grep -qxF "$path" "$scratch/contents.txt" || fail "package lacks $path"
done
grep -E 'panelsim|bench|tst_' "$scratch/contents.txt" && fail "package carries development programs"

# The validators: any error or warning fails.
if check "desktop-file-validate" desktop-file-validate "$share/applications/$id.desktop" && [ -s "$scratch/out.txt" ]; then
  fail "desktop-file-validate warns"; cat "$scratch/out.txt"
fi
if check "appstreamcli validate" appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" &&
   grep -E '^[EW]:' "$scratch/out.txt"; then
  fail "appstreamcli validate warns"
fi
metainfo=$share/metainfo/$id.metainfo.xml
grep -q "<release version=\"$version\" date=\"" "$metainfo" || fail "metainfo release is not $version with a date"
grep -q -- '--write, --verify, --read' "$metainfo" || fail "metainfo says nothing of the production line"
grep -n 'https\?://' "$metainfo" | grep -v 'freedesktop\|w3.org' && fail "metainfo names an address"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "desktop entry names another icon"
for size in 16 24 32 48 64 128 256; do
  cmp -s "$source/assets/icons/icon-$size.png" "$share/icons/hicolor/${size}x${size}/apps/$id.png" ||
    fail "the ${size}x$size icon is not assets/icons/icon-$size.png"
done
for svg in "${icons[@]:0:2}"; do
  grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$svg" || fail "$svg is not an SVG drawing"
done

# The MIME type compiles, with the *.pnl glob, the model-tag magic and its icons.
mkdir -p "$scratch/mime/packages" && cp "$share/mime/packages/$id.xml" "$scratch/mime/packages/"
if check "update-mime-database" env XDG_DATA_HOME="$scratch" XDG_DATA_DIRS="$scratch" update-mime-database "$scratch/mime"; then
  [ -s "$scratch/out.txt" ] && { fail "update-mime-database warns"; cat "$scratch/out.txt"; }
  grep -qx '50:application/x-panelconfig:\*.pnl' "$scratch/mime/globs2" || fail "no *.pnl glob"
  grep -qaF '"00-04412-MDL",' "$scratch/mime/magic" || fail "no model-tag magic"
  grep -qx 'application/x-panelconfig:application-x-panelconfig' "$scratch/mime/icons" || fail "no icon"
  grep -qx 'application/x-panelconfig:text-x-generic' "$scratch/mime/generic-icons" || fail "no generic icon"
fi

# The installed program runs from the package's tree, reports the project's version and says nothing on
# stderr, even without a session's runtime folder.
if check "panelconfig --version" env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/panelconfig" --version; then
  grep -qx -- "panelconfig $version" "$scratch/out.txt" || { fail "--version does not print $version alone"; cat "$scratch/out.txt"; }
fi
grep -q ', stripped' <<<"$(file "$root/usr/bin/panelconfig")" || fail "the packaged binary is not stripped"

# The man page carries the version and renders without a warning.
zcat "$share/man/man1/panelconfig.1.gz" >"$scratch/panelconfig.1" || fail "man page is not gzip"
grep -q "^\.TH PANELCONFIG 1 .*\"panelconfig $version\"" "$scratch/panelconfig.1" || fail "man page is not for $version"
if command -v groff >/dev/null; then
  groff -man -Tutf8 -ww -z "$scratch/panelconfig.1" >"$scratch/groff.txt" 2>&1
  [ -s "$scratch/groff.txt" ] && { fail "groff warns on the man page"; cat "$scratch/groff.txt"; }
fi

[ "$failed" -eq 0 ] || { echo "$failed package check(s) failed"; exit 1; }
echo "package checks passed"
