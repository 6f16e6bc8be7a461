#!/usr/bin/env bash
# check_package.sh BUILD_DIR CHECK: installs the build into a scratch root, or
# packs it into a .deb and unpacks that, and checks what a desktop needs.
# Exits 77 (skipped) when the tool a check needs is not installed.
set -euo pipefail
build=$1
check=$2
app=org.mivlo.Mivlo
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

need() { command -v "$1" >/dev/null || { echo "skipped: $1 is not installed"; exit 77; }; }
fail() { echo "FAIL: $*"; exit 1; }

install_tree() {
  DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
  root="$scratch/root"
}

expect_files() {
  local f
  for f in usr/bin/mivlo usr/bin/mivlo-chartsim usr/bin/mivlo-mountsim \
           usr/share/applications/$app.desktop usr/share/metainfo/$app.metainfo.xml \
           usr/share/icons/hicolor/48x48/apps/$app.png \
           usr/share/icons/hicolor/256x256/apps/$app.png; do
    [ -s "$1/$f" ] || fail "$f is missing or empty"
  done
  [ -x "$1/usr/bin/mivlo" ] || fail "usr/bin/mivlo is not executable"
}

case $check in
  install)
    install_tree
    expect_files "$root"
    ;;
  desktop-entry)
    need desktop-file-validate
    install_tree
    desktop-file-validate "$root/usr/share/applications/$app.desktop"
    ;;
  metainfo)
    need appstreamcli
    install_tree
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml"
    ;;
  deb)
    need cpack
    need dpkg-deb
    (cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >/dev/null)
    deb=$(ls "$scratch"/pkg/mivlo_*.deb)
    dpkg-deb -x "$deb" "$scratch/deb"
    expect_files "$scratch/deb"
    depends=$(dpkg-deb -f "$deb" Depends)
    for p in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
      grep -q "\b$p\b" <<<"$depends" || fail "Depends lacks $p: $depends"
    done
    ;;
  *) fail "no such check: $check" ;;
esac
echo "$check: ok"
