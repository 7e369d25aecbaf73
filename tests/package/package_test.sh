#!/bin/bash
# SPDX-License-Identifier: MIT
# Builds the Debian package of the build tree with CPack, shows its control data (dpkg-deb -I)
# and checks the dependencies dpkg-shlibdeps found, unpacks it into a temporary root
# (dpkg-deb -x) and runs the unpacked beugwerk against the unpacked verb lists.
# Usage: package_test.sh BUILD_DIR INSTALL_PREFIX GUI(ON|OFF)
set -eu
build=$1
prefix=${2#/}
gui=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/log" 2>&1 \
  || { cat "$tmp/log"; fail "cpack -G DEB"; }
deb=$(ls "$tmp"/out/beugwerk_*.deb) || fail "no beugwerk_*.deb"
dpkg-deb -I "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
wanted="libc6 libstdc++6 libicu zlib1g"
[ "$gui" = ON ] && wanted="$wanted libqt6webenginewidgets6 libqt6dbus6 libqt6svg6"
for p in $wanted; do
  [[ $depends == *"$p"* ]] || fail "Depends lacks $p: $depends"
done

dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' >"$tmp/files"
want="$prefix/bin/beugwerk $prefix/bin/beugwerk-serve $prefix/share/beugwerk/Beugwerk.VLX
  $prefix/share/man/man1/beugwerk.1.gz $prefix/share/bash-completion/completions/beugwerk"
[ "$gui" = ON ] && want="$want $prefix/bin/beugwerk-gui
  $prefix/share/applications/beugwerk-gui.desktop
  $prefix/share/icons/hicolor/scalable/apps/beugwerk-gui.svg"
for f in $want; do
  grep -qx "$f" "$tmp/files" || fail "$f is not in the package"
done
# The C++ library and the Python module have packages of their own to be.
if grep -E '/include/|\.a$|/python3' "$tmp/files"; then fail "library or module files packaged"; fi

dpkg-deb -x "$deb" "$tmp/root"
root=$tmp/root/$prefix
"$root/bin/beugwerk" --verb-lists "$root/share/beugwerk/Beugwerk.VLX" sich anziehen >"$tmp/table" \
  || fail "the unpacked beugwerk exited $?"
grep -qx "  ich ziehe mich an                 wenn ich mich anziehe" "$tmp/table" \
  || { cat "$tmp/table"; fail "no 'ich ziehe mich an'"; }
cmp -s "$tmp/table" <("$build/beugwerk" --verb-lists "$root/share/beugwerk/Beugwerk.VLX" sich anziehen) \
  || fail "the unpacked beugwerk prints another table than the built one"
# beugwerk serve hands over to the unpacked beugwerk-serve beside it, which refuses the port.
status=0
"$root/bin/beugwerk" serve --port 70000 2>"$tmp/err" || status=$?
[ $status = 2 ] && grep -q "port" "$tmp/err" || { cat "$tmp/err"; fail "serve through beugwerk-serve: $status"; }
man -l "$root/share/man/man1/beugwerk.1.gz" 2>/dev/null | grep -q "^EXIT STATUS" || fail "man -l of the packaged page"
echo "package_test: $(basename "$deb") builds, unpacks and runs"
