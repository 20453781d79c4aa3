#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it system-wide,
# checks what it put in place, plays the installed game once from an empty
# directory under a private Xvfb (Q must end it with status 0), removes the
# package and checks that none of its files is left. Fails on any step.
set -euo pipefail
out=${1:-build-package}
source_dir=$(pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -qq "$@" </dev/null; }

if dpkg-query -W -f='${Status}' pelorin 2>/dev/null | grep -q "installed"; then
  echo "pelorin is installed already; remove it first (this check installs and removes it)" >&2
  exit 1
fi

scripts/package.sh "$out"
deb=$(cd "$out" && ls "$PWD"/pelorin_*.deb)

installed=""
remove_package() {
  if [ -n "$installed" ]; then
    apt_get remove -y pelorin >/dev/null || true
    installed=""
  fi
}
trap remove_package EXIT

echo "installing $deb"
apt_get install -y "$deb" >/dev/null
installed=yes
dpkg -L pelorin >"$out/files.txt"

# What a user's shell sees: /usr/games is on the PATH of ordinary logins.
user_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs 2>/dev/null)
user_path=${user_path:-/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games}
for program in pelorin pelorin-editor; do
  PATH=$user_path command -v "$program" >/dev/null || { echo "$program is not on a user's PATH" >&2; exit 1; }
  man -w 6 "$program" >/dev/null || { echo "no manual page $program(6)" >&2; exit 1; }
  entry=/usr/share/applications/$program.desktop
  desktop-file-validate "$entry"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || { echo "$entry names a missing icon $icon" >&2; exit 1; }
done
for metainfo in /usr/share/metainfo/*pelorin*.xml; do
  # No network: the screenshot links point at the project's own site.
  appstreamcli validate --no-net "$metainfo" >/dev/null
done

# The installed game, started as a player would, from an empty directory.
export PELORIN_BUILD=/usr/games PELORIN_SHOTS=$source_dir/$out
# shellcheck source=tests/e2e/lib.sh
. tests/e2e/lib.sh
e2e_init
trap 'e2e_cleanup; remove_package' EXIT
mkdir "$WORK/empty" "$WORK/tmp"
export TMPDIR=$WORK/tmp
start_app pelorin "$WORK/empty"
wait_window "Tessaly -- Pelorin 2000"
wait_output "Finished Reading Landscape!"
screenshot installed
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended the installed game with status $EXIT_STATUS"
[ -z "$(ls -A "$WORK/empty")" ] && [ -z "$(ls -A "$WORK/tmp")" ] ||
  fail "the installed game left files behind in its start or scratch directory"

echo "removing pelorin"
apt_get remove -y pelorin >/dev/null
installed=""
left=""
while IFS= read -r path; do
  [ -e "$path" ] || continue
  # Folders shared with other packages stay; everything of our own goes.
  if [ -d "$path" ] && { [ -n "$(ls -A "$path")" ] || dpkg -S "$path" >/dev/null 2>&1; }; then
    continue
  fi
  left="$left $path"
done <"$out/files.txt"
[ -z "$left" ] || fail "left behind after removal:$left"
! dpkg-query -W -f='${Status}' pelorin 2>/dev/null | grep -q "config-files" || fail "configuration files left"
echo "package checked: $(wc -l <"$out/files.txt") paths installed and removed; $out/installed.png shows the game"
