#!/usr/bin/env bash
# Installs what running a 32-bit Windows console exe needs on Debian 12 x86_64:
# 64- and 32-bit Wine, and qemu-i386 from bookworm-backports (the 7.2 build in
# bookworm is far too slow for Wine). Idempotent; quiet on success; run as root.
# Only the packages are installed: no binfmt_misc entry is made for the whole
# machine (tests/wine/i386-namespace.sh does that in a private namespace).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

me=install-wine32.sh
die() { echo "$me: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "must run as root"
[ "$(dpkg --print-architecture)" = amd64 ] || die "needs an amd64 Debian"
# shellcheck source=/dev/null
. /etc/os-release
[ "${VERSION_CODENAME:-}" = bookworm ] || die "made for Debian 12 (bookworm), found ${VERSION_CODENAME:-unknown}"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Runs a command silently; on failure shows its output and stops.
quiet() {
    if ! "$@" >"$log" 2>&1 </dev/null; then
        cat "$log" >&2
        die "failed: $*"
    fi
}

installed() {
    [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null)" = "ii " ]
}

# First Debian mirror the machine already uses for bookworm, so backports
# come from the same host.
debian_mirror() {
    local f uri
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        uri=$(awk '
            /^[[:space:]]*$/ { if (u != "" && s) { print u; exit } u = ""; s = 0; next }
            /^URIs:/ { u = $2 }
            /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") s = 1 }
            END { if (u != "" && s) print u }' "$f" | head -n1)
        [ -n "$uri" ] && { echo "$uri"; return; }
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        uri=$(awk '$1 == "deb" { for (i = 2; i < NF; i++) if ($i !~ /^\[/ && $(i + 1) == "bookworm") { print $i; exit } }' "$f")
        [ -n "$uri" ] && { echo "$uri"; return; }
    done
    echo http://deb.debian.org/debian
}

has_backports() {
    grep -Eqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}

# qemu-user from backports (>= 9.1) ships the static qemu-i386 itself.
qemu_ok() {
    local v
    v=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null) || return 1
    installed qemu-user && dpkg --compare-versions "$v" ge 1:9.1 && [ -x /usr/bin/qemu-i386 ]
}

changed_sources=0
if ! has_backports; then
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    {
        echo "Types: deb"
        echo "URIs: $(debian_mirror)"
        echo "Suites: bookworm-backports"
        echo "Components: main"
        [ -f "$keyring" ] && echo "Signed-By: $keyring"
    } >/etc/apt/sources.list.d/bookworm-backports.sources
    changed_sources=1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    changed_sources=1
fi

want=()
for p in wine wine64 wine32:i386; do
    installed "$p" || want+=("$p")
done
qemu_ok || want+=(qemu-user/bookworm-backports)

if [ "${#want[@]}" -gt 0 ] || [ "$changed_sources" -eq 1 ]; then
    apt_opts=(-y -q -o DPkg::Lock::Timeout=300 -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)
    quiet apt-get -q -o DPkg::Lock::Timeout=300 update
    if [ "${#want[@]}" -gt 0 ]; then
        # No recommends: qemu-user-binfmt would register qemu machine-wide.
        quiet apt-get "${apt_opts[@]}" install --no-install-recommends "${want[@]}"
    fi
fi

# Check the result, not just apt's exit code.
qemu_ok || die "qemu-user >= 9.1 with /usr/bin/qemu-i386 is not installed"
[ -x /usr/lib/wine/wine ] || die "/usr/lib/wine/wine (wine32:i386) is missing"
[ -x /usr/lib/wine/wine64 ] || die "/usr/lib/wine/wine64 is missing"
/usr/bin/qemu-i386 --version >/dev/null || die "/usr/bin/qemu-i386 does not run"
