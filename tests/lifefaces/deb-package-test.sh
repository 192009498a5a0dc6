#!/usr/bin/env bash
# The hack's Debian package from end to end: built, its contents and lintian
# checked, installed with apt, run by the real XScreenSaver daemon from where
# it was installed, then purged without a trace. It installs into the
# machine's own /usr (as root, or through sudo) and purges whatever lifefaces
# package it finds there first and last, so it may run again after a failure.
set -euo pipefail
cd "$(dirname "$0")/../.."

daemon_test=build/native/bin/lifefaces_x11_tests
[[ -x $daemon_test ]] || { echo "deb test: build the native preset first" >&2; exit 1; }
sudo=; (( EUID == 0 )) || sudo=sudo
apt() { DEBIAN_FRONTEND=noninteractive $sudo apt-get "$@" -y -qq >/dev/null; }
purge() { ! dpkg-query -W lifefaces >/dev/null 2>&1 || apt purge lifefaces; }
fail() { echo "deb test: $*" >&2; exit 1; }

purge
trap purge EXIT

deb=$(tools/make-deb.sh)
version=$(dpkg-deb --field "$deb" Version)
[[ $deb == build/deb/lifefaces_${version}_$(dpkg --print-architecture).deb ]] || fail "package named $deb"

# Every file where it belongs, nothing else.
owned=(
  /usr/bin/lifefaces-register
  /usr/libexec/xscreensaver/lifefaces
  /usr/share/applications/screensavers/lifefaces.desktop
  /usr/share/doc/lifefaces
  /usr/share/doc/lifefaces/changelog.gz
  /usr/share/doc/lifefaces/copyright
  /usr/share/doc/lifefaces/README.Debian
  /usr/share/lifefaces
  /usr/share/lifefaces/bigface.bmp
  /usr/share/lifefaces/fishface.bmp
  /usr/share/lifefaces/life.nfo
  /usr/share/lifefaces/lifeface.bmp
  /usr/share/lifefaces/tinyface.bmp
  /usr/share/man/man1/lifefaces-register.1.gz
  /usr/share/man/man6/lifefaces.6.gz
  /usr/share/xscreensaver/config/lifefaces.xml
)
shared=(/ /usr /usr/bin /usr/libexec /usr/libexec/xscreensaver /usr/share /usr/share/applications
        /usr/share/applications/screensavers /usr/share/doc /usr/share/man /usr/share/man/man1
        /usr/share/man/man6 /usr/share/xscreensaver /usr/share/xscreensaver/config)
diff <(printf '%s\n' "${owned[@]}" "${shared[@]}" | sort) \
     <(dpkg-deb --contents "$deb" | awk '{ p = substr($6, 2); sub(/\/$/, "", p);
                                           print p == "" ? "/" : p }' | sort) \
  || fail "the package's files differ from the list above (<) as shown (>)"
[[ $(dpkg-deb --field "$deb" Recommends) == *xscreensaver* ]] || fail "xscreensaver not recommended"

# lintian: no errors and no warnings; informational tags are shown.
tags=$(lintian --display-info "$deb" 2>/dev/null) || fail "lintian failed: $tags"
[[ -n $tags ]] && echo "$tags"
! grep -q '^[EW]:' <<<"$tags" || fail "lintian reports errors or warnings"

apt install "$PWD/$deb"
dpkg -L lifefaces >/dev/null || fail "not installed"
desktop-file-validate /usr/share/applications/screensavers/lifefaces.desktop \
  || fail "the desktop entry is not valid"
zgrep -q lifefaces-register /usr/share/doc/lifefaces/README.Debian \
  || fail "README.Debian does not tell how to add Life to XScreenSaver"
# The installed lifefaces-register adds the hack by its bare name, which the
# daemon finds in its own folder of hacks; mate-screensaver lists and runs
# the installed desktop entry.
LIFEFACES_REGISTER=lifefaces-register \
  "$daemon_test" --gtest_filter='XScreenSaverDaemon.*:LifefacesRegister.*:MateScreensaver.*' \
  || fail "the installed hack did not run under the daemons"

apt purge lifefaces
! dpkg -L lifefaces >/dev/null 2>&1 || fail "dpkg still lists lifefaces after the purge"
for path in "${owned[@]}"; do
  [[ ! -e $path ]] || fail "$path is left after the purge"
done
echo "deb test: $deb built, checked, installed, run under the daemon and purged"
