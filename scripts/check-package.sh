#!/usr/bin/env bash
# Builds the Debian package and checks the installed layout from it:
#   - lintian reports no errors;
#   - unpacked into a temporary root, tobbin-cli verify replays every shipped
#     solution ("ok" for each level) for a player with an empty home and
#     writes nothing at all; verify --merge puts them into his records, and
#     nothing is ever written below the installed data;
#   - the installed game starts offscreen and takes its screenshots;
#   - the desktop entry and the metainfo validate, the manual pages format;
#   - with --apt (as root, on a throw-away machine such as CI): installs the
#     package with apt-get, plays the same checks from /usr, removes it again
#     and checks that the player's records are left in his home.
# Needs the packages dpkg-dev, lintian, desktop-file-utils and appstream.
set -euo pipefail
cd "$(dirname "$0")/.."

apt=false
[ "${1:-}" = "--apt" ] && apt=true

step_start=0
step() {
  step_start=$(date +%s)
  echo "== $*"
}
done_step() {
  echo "   ($(($(date +%s) - step_start)) s)"
}
fail() {
  echo "check-package: $*" >&2
  exit 1
}

missing=()
for p in dpkg-dev lintian desktop-file-utils appstream man-db; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

step "make package"
make --no-print-directory package
deb=$(ls build/package/tobbin_*.deb)
echo "   $deb: $(stat -c %s "$deb") bytes"
done_step

step "lintian"
lintian_out=$(lintian "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -n "$lintian_out" ] && echo "$lintian_out"
if grep -q '^E:' <<<"$lintian_out"; then fail "lintian reports errors"; fi
done_step

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT

# Runs the installed programs below $1 (the install root) for a new player.
check_installed() {
  local root=$1 home=$2 games=$1/usr/games data=$1/usr/share/tobbin
  [ -x "$games/tobbin" ] && [ -x "$games/tobbin-cli" ] || fail "the programs are not in $games"
  [ -d "$data/tbg" ] || fail "the data is not in $data"
  local before
  before=$(find "$data" -printf '%P %s %T@\n' | sort | md5sum)

  mkdir -p "$home"
  local out status=0
  out=$(env -u XDG_DATA_HOME HOME="$home" "$games/tobbin-cli" verify) || status=$?
  echo "$out" | tail -1
  [ "$status" -eq 0 ] || { echo "$out"; fail "tobbin-cli verify failed (status $status)"; }
  grep -q '^ok ' <<<"$out" || fail "tobbin-cli verify replayed no solution"
  if grep -qv -e '^ok ' -e '^verified ' <<<"$out"; then echo "$out"; fail "a level is not ok"; fi
  [ -z "$(find "$home" -mindepth 1 -print -quit)" ] || fail "the read-only verify wrote into the home"
  # The game's start-up merge: the shipped solutions reach the player's records.
  out=$(env -u XDG_DATA_HOME HOME="$home" "$games/tobbin-cli" verify --merge) ||
    fail "tobbin-cli verify --merge failed"
  grep -q "^verified .* 0 failed" <<<"$out" || { echo "$out"; fail "verify --merge found failures"; }
  local sol=$home/.local/share/tobbin/tobbin.sol shipped stored
  shipped=$(grep -c '^ok ' <<<"$out")
  stored=$(($(wc -l <"$sol" 2>/dev/null || echo 1) - 1)) # without the version line
  [ "$stored" -eq "$shipped" ] ||
    fail "the player's records hold $stored solutions, not the $shipped shipped ones"

  env -u XDG_DATA_HOME HOME="$home" "$games/tobbin" --screenshot "$home/shots" >/dev/null
  local shots
  shots=$(find "$home/shots" -name '*.png' | wc -l)
  [ "$shots" -gt 0 ] || fail "the installed game took no screenshot"
  echo "   $shots screenshots"

  [ "$(find "$data" -printf '%P %s %T@\n' | sort | md5sum)" = "$before" ] ||
    fail "something was written below $data"
}

step "unpacked into a temporary root"
dpkg -x "$deb" "$work/root"
chmod -R a-w "$work/root/usr/share/tobbin"
check_installed "$work/root" "$work/home"
done_step

step "desktop entry, metainfo, manual pages"
desktop-file-validate "$work/root/usr/share/applications/io.github.tobbin.Tobbin.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/io.github.tobbin.Tobbin.metainfo.xml"
for size in 16 32 48 64 128 256; do
  icon="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/io.github.tobbin.Tobbin.png"
  [ -f "$icon" ] || fail "no ${size} px icon"
done
for page in tobbin tobbin-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l "$work/root/usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || { echo "$warnings"; fail "the manual page $page.6 has warnings"; }
done
done_step

if $apt; then
  step "apt-get install, play, remove"
  [ "$(id -u)" -eq 0 ] || fail "--apt needs root"
  ! dpkg-query -W tobbin >/dev/null 2>&1 || fail "a tobbin package is installed already"
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq "./$deb"
  check_installed / "$work/apt-home"
  apt-get remove -y -qq tobbin
  [ ! -e /usr/games/tobbin ] || fail "the package left /usr/games/tobbin"
  [ -f "$work/apt-home/.local/share/tobbin/tobbin.sol" ] ||
    fail "removing the package took the player's records"
  done_step
fi
echo "check-package: all checks passed"
