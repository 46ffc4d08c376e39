#!/usr/bin/env bash
# check-package.sh DEB [ROOT]: tries the package on a fresh Debian 12 root, as a new
# user's machine would have it. Makes ROOT with debootstrap when it is missing
# (default /var/tmp/tolvane-debroot; $MIRROR or deb.debian.org), installs DEB there
# with apt-get (which must pull every dependency), checks that the programs answer
# --version and that powercfg lists the schemes from the program folder, removes the
# package and checks that none of its files is left. Needs root, debootstrap and the
# network.
set -euo pipefail
deb="$(realpath "$1")"
root="${2:-/var/tmp/tolvane-debroot}"
mirror="${MIRROR:-http://deb.debian.org/debian}"

if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
cp "$deb" "$root/tmp/package.deb"

chroot "$root" /bin/sh -eu <<'CHECK'
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq /tmp/package.deb >/dev/null
tolvane --version
vantrel --version
/usr/lib/tolvane/About --version
cd /usr/lib/tolvane && ./powercfg /LIST >/dev/null && echo "powercfg /LIST answers"
cd /
dpkg -L tolvane > /tmp/package-files
apt-get remove -y -qq tolvane >/dev/null
left=0
while read -r path; do
  if [ -e "$path" ] && [ ! -d "$path" ]; then echo "left behind: $path"; left=1; fi
done < /tmp/package-files
for dir in /usr/lib/tolvane /usr/share/doc/tolvane; do
  if [ -e "$dir" ]; then echo "left behind: $dir"; left=1; fi
done
[ "$left" = 0 ] && echo "removed without a trace in /usr"
exit "$left"
CHECK
