#!/usr/bin/env bash
# Runs the save tests that root can never reach: as an ordinary user (the
# paired save writes in place only where a folder refuses new files, and
# root is refused nothing) and on a small file system of its own that the
# tests fill up at every step of the save.
#
# As root (CI) the script mounts a 64 MB tmpfs and runs the test as the user
# "nobody" through setpriv. A tmpfs needs no image file, no loop device and
# no display, gives real ENOSPC errors from the kernel at any byte, and goes
# away with its mount. As an ordinary user it runs the test as that user;
# the full-disk rounds then need a small file system given in
# VOCABRIUM_SMALL_DISK.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
test_binary="$build/tests/tst_pairsave"
[ -x "$test_binary" ] || { echo "test-unprivileged: build first ($test_binary is missing)" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
    QT_QPA_PLATFORM=offscreen exec "$test_binary"
fi

user=nobody
uid=$(id -u "$user")
gid=$(id -g "$user")
disk=$(mktemp -d /tmp/vocabrium-small-disk.XXXXXX)
cleanup() { umount "$disk" 2>/dev/null || true; rmdir "$disk"; }
trap cleanup EXIT
mount -t tmpfs -o size=64m,mode=0755 vocabrium-small-disk "$disk"
chown "$uid:$gid" "$disk"
# The test makes its own home folder under /tmp. The test binary and Qt's libraries must be readable by that user, which
# they are in a normal checkout (the build tree is world-readable).
setpriv --reuid="$uid" --regid="$gid" --clear-groups \
    env -i PATH=/usr/bin:/bin TMPDIR=/tmp QT_QPA_PLATFORM=offscreen \
    VOCABRIUM_SMALL_DISK="$disk" "$test_binary"
