#!/usr/bin/env bash
# Builds the Debian package from the build tree's CPack configuration into a scratch folder and checks
# what a user's system would get from it. Usage: check-package.sh BUILD_DIR VERSION SOURCE_DIR
set -uo pipefail
build=$1 version=$2 source=$3
id=org.panelconfig.PanelConfig

scratch=$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
# Runs a check; on failure shows what it printed.
check() {
  local what=$1; shift
  if ! "$@" >"$scratch/out.txt" 2>&1; then fail "$what"; sed 's/^/  | /' "$scratch/out.txt"; return 1; fi
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"; echo "FAIL: cpack could not build the package"; exit 1
fi
deb=$scratch/pkg/panelconfig_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls -l "$scratch/pkg"; echo "FAIL: no $(basename "$deb")"; exit 1; }
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Control fields: name, version, and dependencies found by dpkg-shlibdeps in the binary.
check "dpkg-deb --info" dpkg-deb --info "$deb"
[ "$(dpkg-deb -f "$deb" Package)" = panelconfig ] || fail "Package is '$(dpkg-deb -f "$deb" Package)'"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is '$(dpkg-deb -f "$deb" Version)', not $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
  [[ $depends == *"$lib "* ]] || fail "Depends lacks $lib"
done

dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$scratch/contents.txt"
for size in 16 24 32 48 64 128 256; do icons+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"); done
for path in /usr/bin/panelconfig "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
            "/usr/share/mime/packages/$id.xml" /usr/share/man/man1/panelconfig.1.gz \
            /usr/share/doc/panelconfig/copyright "${icons[@]}"; do
  grep -qxF "$path" "$scratch/contents.txt" || fail "package lacks $path"
done
grep -E 'panelsim|bench|tst_' "$scratch/contents.txt" && fail "package carries development programs"

root=$scratch/root
check "dpkg-deb -x" dpkg-deb -x "$deb" "$root" || exit 1
share=$root/usr/share

# The validators: any error or warning fails.
if check "desktop-file-validate" desktop-file-validate "$share/applications/$id.desktop" && [ -s "$scratch/out.txt" ]; then
  fail "desktop-file-validate warns"; cat "$scratch/out.txt"
fi
if check "appstreamcli validate" appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" &&
   grep -E '^[EW]:' "$scratch/out.txt"; then
  fail "appstreamcli validate warns"
fi
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" || fail "metainfo release is not $version"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "desktop entry names another icon"
for size in 16 24 32 48 64 128 256; do
  cmp -s "$source/assets/icons/icon-$size.png" "$share/icons/hicolor/${size}x${size}/apps/$id.png" ||
    fail "the ${size}x$size icon is not assets/icons/icon-$size.png"
done

# The MIME type compiles, with both the *.pnl glob and the model-tag magic.
mkdir -p "$scratch/mime/packages" && cp "$share/mime/packages/$id.xml" "$scratch/mime/packages/"
if check "update-mime-database" env XDG_DATA_HOME="$scratch" XDG_DATA_DIRS="$scratch" update-mime-database "$scratch/mime"; then
  [ -s "$scratch/out.txt" ] && { fail "update-mime-database warns"; cat "$scratch/out.txt"; }
  grep -qx '50:application/x-panelconfig:\*.pnl' "$scratch/mime/globs2" || fail "no *.pnl glob"
  grep -qaF '"00-04412-MDL",' "$scratch/mime/magic" || fail "no model-tag magic"
fi

# The installed program runs from the package's tree and reports the project's version.
if check "panelconfig --version" env QT_QPA_PLATFORM=offscreen "$root/usr/bin/panelconfig" --version; then
  grep -qw -- "$version" "$scratch/out.txt" || { fail "--version does not print $version"; cat "$scratch/out.txt"; }
fi
file "$root/usr/bin/panelconfig" | grep -q ', stripped' || fail "the packaged binary is not stripped"

# The man page carries the version and renders without a warning.
zcat "$share/man/man1/panelconfig.1.gz" >"$scratch/panelconfig.1" || fail "man page is not gzip"
grep -q "^\.TH PANELCONFIG 1 .*\"panelconfig $version\"" "$scratch/panelconfig.1" || fail "man page is not for $version"
if command -v groff >/dev/null; then
  groff -man -Tutf8 -ww -z "$scratch/panelconfig.1" >"$scratch/groff.txt" 2>&1
  [ -s "$scratch/groff.txt" ] && { fail "groff warns on the man page"; cat "$scratch/groff.txt"; }
fi

[ "$failed" -eq 0 ] || { echo "$failed package check(s) failed"; exit 1; }
echo "package checks passed"
