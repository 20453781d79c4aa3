#!/usr/bin/env bash
# Builds the binary Debian package from a clean copy of the tree and checks it
# with lintian: scripts/package.sh [OUT]. The .deb ends up in OUT (default
# build-package/); lintian errors fail the build, warnings are listed.
set -euo pipefail
out=${1:-build-package}
rm -rf "$out"
mkdir -p "$out/src"
# A clean tree: the working copy's files that git tracks or would track,
# nothing built; outside a git checkout, everything but the build folders.
if git rev-parse --show-toplevel >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | tar --null --ignore-failed-read -T - -cf - | tar -xf - -C "$out/src"
else
  tar --exclude='./build*' --exclude='./.git' -cf - . | tar -xf - -C "$out/src"
fi
options="noautodbgsym${DEB_BUILD_OPTIONS:+ $DEB_BUILD_OPTIONS}"
(cd "$out/src" && DEB_BUILD_OPTIONS="$options" \
  dpkg-buildpackage -b -us -uc -j"$(nproc 2>/dev/null || echo 2)" >../build.log 2>&1) || {
  tail -n 40 "$out/build.log" >&2
  echo "package build failed; the whole log is $out/build.log" >&2
  exit 1
}
deb=$(ls "$out"/pelorin_*.deb)
lintian --fail-on error --info "$deb"
echo "$deb"
