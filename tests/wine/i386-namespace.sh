#!/usr/bin/env bash
# Usage: i386-namespace.sh COMMAND [ARGS...]
#
# Runs COMMAND in private user, mount and PID namespaces whose own binfmt_misc
# hands i386 ELF files to qemu-i386, so 32-bit Wine works on a host that cannot
# run them natively. The machine-wide binfmt_misc is never touched.
#
# Stdin, stdout, stderr and the exit status of COMMAND pass through (a COMMAND
# killed by signal N gives 128+N). When COMMAND ends, everything it left behind
# in the namespace (wineserver, Wine's service processes, programs launched by
# the exe under test) is killed with it, so nothing lingers holding a pipe of
# the caller. Killing this wrapper kills the whole namespace too.
set -euo pipefail

if [ "${I386_NAMESPACE_INNER:-}" = 1 ]; then
    # Second stage: PID 1 and root of the new namespaces.
    unset I386_NAMESPACE_INNER
    fail() { echo "i386-namespace.sh: $*" >&2; exit 126; }

    dir=/proc/sys/fs/binfmt_misc
    # The binfmt_misc instance belongs to the user namespace, not to the
    # mount point, so another directory will do if this one cannot be used.
    if ! mount -t binfmt_misc binfmt_misc "$dir" 2>/dev/null; then
        dir=$(mktemp -d /tmp/binfmt.XXXXXX) || fail "cannot make a mount point"
        mount -t binfmt_misc binfmt_misc "$dir" \
            || fail "cannot mount binfmt_misc in a user namespace (kernel older than 6.7?)"
    fi
    # ELF32, little-endian, EM_386, ET_EXEC or ET_DYN: the magic and mask the
    # qemu-user-binfmt package uses. The kernel decodes the \x escapes.
    # Flag F opens the interpreter now, so later mounts cannot hide it.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":i386:M::$magic:$mask:$QEMU_I386:F" >"$dir/register" 2>/dev/null \
        || fail "cannot register i386 with binfmt_misc"
    unset QEMU_I386

    # COMMAND runs as a child, not as PID 1: it keeps normal signal
    # behaviour, and this shell reaps the daemons and launched programs that
    # get orphaned. "<&0" stops bash giving a background job /dev/null.
    "$@" <&0 &
    status=0
    wait "$!" || status=$?
    exit "$status"
fi

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

self=$(readlink -f -- "${BASH_SOURCE[0]}")
# --kill-child: if this wrapper dies, the namespace's PID 1 and so every
# process inside die as well.
exec env I386_NAMESPACE_INNER=1 unshare --user --map-root-user \
    --mount --propagation private --pid --fork --kill-child --mount-proc \
    -- /bin/bash "$self" "$@"
