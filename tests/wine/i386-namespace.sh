#!/usr/bin/env bash
# Usage: i386-namespace.sh COMMAND [ARGS...]
# Runs COMMAND in a private user+mount namespace whose own binfmt_misc hands
# i386 ELF files to qemu-i386, so 32-bit Wine works on a host that cannot run
# them natively. The machine-wide binfmt_misc is never touched; the
# registration vanishes with the namespace. Stdin, stdout, stderr and the exit
# code of COMMAND pass through untouched.
set -euo pipefail

if [ "$#" -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi

QEMU_I386=${QEMU_I386:-/usr/bin/qemu-i386}
if [ ! -x "$QEMU_I386" ]; then
    echo "$0: $QEMU_I386 not found (run scripts/install-wine32.sh)" >&2
    exit 127
fi
export QEMU_I386

# Runs as root of the new namespace, before COMMAND replaces it.
inner='
set -eu
fail() { echo "i386-namespace.sh: $*" >&2; exit 126; }
dir=/proc/sys/fs/binfmt_misc
# The instance belongs to the user namespace, not the mount point, so any
# directory will do when /proc/sys is read-only.
if ! mount -t binfmt_misc binfmt_misc "$dir" 2>/dev/null; then
    dir=$(mktemp -d /tmp/binfmt.XXXXXX)
    mount -t binfmt_misc binfmt_misc "$dir" \
        || fail "cannot mount binfmt_misc in a user namespace (kernel too old?)"
    # Keep it mounted (the entries live as long as the mount) but drop the
    # directory name from the shared /tmp.
    rmdir "$dir" 2>/dev/null || true
fi
# ELF32 little-endian, e_machine EM_386, ET_EXEC or ET_DYN. Flag F opens the
# interpreter now, so it works whatever the later root or mounts are.
printf "%s" ":i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$QEMU_I386:F" \
    > "$dir/register" 2>/dev/null \
    || [ -e "$dir/i386" ] \
    || fail "cannot register i386 with binfmt_misc"
exec "$@"
'

exec unshare --user --map-root-user --mount --propagation private \
    -- /bin/bash -c "$inner" i386-namespace "$@"
