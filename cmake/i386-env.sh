#!/usr/bin/env bash
# An i386 Debian 12 in which the 32-bit Windows programs of a build folder run under Wine: the
# host's Wine is 64-bit only, and some kernels run no 32-bit program at all. Kept under
# <build-dir>/i386/:
#   root/       Debian 12 for i386 with Wine, Xvfb and the fonts (made when missing)
#   qemu-i386   QEMU's emulator of i386 programs, from the qemu-user package of Debian's
#               bookworm-backports (Debian 12's own QEMU 7.2 takes minutes to start one Wine
#               process, QEMU 10 a second); unpacked only, nothing is installed on the host
#
#   i386-env.sh start <build-dir>   make what is missing and, unless the kernel runs i386
#                                   programs itself, register qemu-i386 for them; where that
#                                   cannot be done, say why in one line and exit 3
#   i386-env.sh run <build-dir> <command> [arguments...]
#                                   run a command of the i386 Debian, with the checkout and the
#                                   build folder at the same paths as on the host
#   i386-env.sh stop <build-dir>    end every process of the i386 Debian, remove the entry that
#                                   start registered, unmount binfmt_misc if start mounted it
#
# Each run mounts what the i386 Debian needs in a mount namespace of its own, so those mounts end
# with the last process that uses them, even one killed with -9, and none shows on the host, where
# a `rm -rf build` would reach through them into /dev and the checkout.
# BRISA_I386_QEMU=1 uses qemu-i386 even where the kernel runs i386 programs itself, to try the
# emulated way on such a machine.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop <build-dir> | run <build-dir> <command> [arguments...]" >&2
    exit 2
}
[ $# -ge 2 ] || usage
action=$1
build=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
self=$source_dir/cmake/i386-env.sh
state=$build/i386
root=$state/root
log=$state/i386-env.log
binfmt=/proc/sys/fs/binfmt_misc
entry=brisa-i386
# What the Windows tests need in the i386 Debian; a root made with another list is made again.
packages="wine wine32 xvfb fonts-wine fonts-liberation fonts-wqy-microhei"

die() {
    echo "i386-env: $*" >&2
    exit 1
}

# Inside the mount namespace of one run: mounts, then the command in the i386 Debian, in the
# current folder when that is there too.
if [ "$action" = enter ]; then
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    for dir in "$source_dir" "$build"; do
        mkdir -p "$root$dir"
        mount --bind "$dir" "$root$dir"
    done
    folder=/
    [ -d "$root$PWD" ] && folder=$PWD
    exec chroot "$root" /usr/bin/env --chdir="$folder" "$@"
fi

if [ "$action" = run ]; then
    [ $# -ge 1 ] || usage
    [ -e "$state/started" ] || die "the i386 Debian is not started: $self start $build"
    exec unshare --mount --propagation private -- "$self" enter "$build" "$@"
fi

# Ends the processes whose root is the i386 Debian: all of them were started through here.
end_processes() {
    [ -d "$root" ] || return 0
    local want pids dir signal i
    want=$(stat -c %d:%i "$root")
    for signal in TERM KILL; do
        for ((i = 0; i < 50; i++)); do
            pids=()
            for dir in /proc/[0-9]*; do
                if [ "$(stat -L -c %d:%i "$dir/root" 2>/dev/null)" = "$want" ]; then
                    pids+=("${dir#/proc/}")
                fi
            done
            [ ${#pids[@]} -gt 0 ] || return 0
            if [ "$i" -eq 0 ]; then kill "-$signal" "${pids[@]}" 2>/dev/null || true; fi
            sleep 0.1
        done
    done
    die "processes of the i386 Debian do not end: ${pids[*]}"
}

# Undoes what start registered and mounted, as the files it left say.
release_binfmt() {
    if [ -e "$state/binfmt-entry" ]; then
        [ ! -e "$binfmt/$entry" ] || echo -1 >"$binfmt/$entry"
        rm -f "$state/binfmt-entry"
    fi
    if [ -e "$state/binfmt-mounted" ]; then
        if grep -qs "^binfmt_misc $binfmt " /proc/mounts; then umount "$binfmt"; fi
        rm -f "$state/binfmt-mounted"
    fi
}

if [ "$action" = stop ]; then
    [ $# -eq 0 ] || usage
    if [ -e "$state/started" ]; then
        "$self" run "$build" "$source_dir/cmake/wine-env.sh" stop "$build" >>"$log" 2>&1 || true
        rm -f "$state/started"
    fi
    end_processes
    release_binfmt
    exit 0
fi

if [ "$action" != start ] || [ $# -ne 0 ]; then usage; fi
mkdir -p "$state"
rm -f "$state/started"

# A failed or interrupted start leaves no process, entry or mount of its own behind.
cleanup() {
    rm -f "$state/started"
    end_processes
    release_binfmt
}
trap cleanup EXIT
trap 'exit 130' INT TERM

unavailable() {
    echo "i386-env: 32-bit programs cannot run here: $*" >&2
    exit 3
}
[ "$(id -u)" -eq 0 ] || unavailable "it takes root to mount, chroot and register an emulator"

# The Debian mirror that the host's apt uses.
# shellcheck disable=SC2016 # apt's own $(FIELD) names
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' |
    awk '$3 == "main" && $2 !~ /-security$/ { print $1; exit }')
[ -n "$mirror" ] || die "apt names no Debian mirror"

if ! grep -qs "^binfmt_misc $binfmt " /proc/mounts &&
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
    touch "$state/binfmt-mounted"
fi

# An entry already there for i386 programs, from an earlier start or another program.
existing=
for file in "$binfmt"/*; do
    if grep -qxF enabled "$file" 2>/dev/null &&
        grep -qxF 'magic 7f454c4601010100000000000000000002000300' "$file"; then
        existing=$file
        break
    fi
done

# The smallest i386 program: an ELF header, one loadable segment, and exit(42) by int 0x80.
# Whether it runs tells whether i386 programs run at all.
probe=$state/probe
printf '%b' '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08' \
    '\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' \
    '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0' \
    '\x31\xdb\xb3\x2a\x31\xc0\x40\xcd\x80' >"$probe"
chmod +x "$probe"
probe_runs() {
    local code=0
    "$probe" 2>/dev/null || code=$?
    [ $code -eq 42 ]
}

if [ -n "$existing" ]; then
    # Without F the kernel would look for the emulator inside the i386 Debian.
    grep -q '^flags: .*F' "$existing" ||
        unavailable "its i386 entry $existing has no F flag, which a chroot needs"
    if [ "$existing" = "$binfmt/$entry" ] &&
        grep -qxF "interpreter $state/qemu-i386" "$existing"; then
        touch "$state/binfmt-entry" # left by a start that was never stopped: ours to remove
    fi
    echo "i386-env: i386 programs run through ${existing#"$binfmt/"} of binfmt_misc"
elif probe_runs && [ "${BRISA_I386_QEMU:-0}" != 1 ]; then
    release_binfmt
    echo "i386-env: the kernel runs i386 programs itself"
else
    [ -w "$binfmt/register" ] || unavailable "no writable binfmt_misc to register qemu-i386 in"
    if [ ! -x "$state/qemu-i386" ]; then
        echo "i386-env: fetching qemu-i386 from bookworm-backports"
        # A private apt configuration: the host's sources and package lists stay as they are.
        apt_dir=$state/apt
        rm -rf "$apt_dir"
        mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial"
        echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror" \
            "bookworm-backports main" >"$apt_dir/sources.list"
        touch "$apt_dir/status"
        apt=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
            -o Dir::State::Lists="$apt_dir/lists" -o Dir::State::status="$apt_dir/status"
            -o Dir::Cache="$apt_dir" -o Acquire::Languages=none -o APT::Sandbox::User=root)
        {
            apt-get "${apt[@]}" update &&
                (cd "$apt_dir" && apt-get "${apt[@]}" download qemu-user) &&
                dpkg-deb --fsys-tarfile "$apt_dir"/qemu-user_*.deb |
                tar -xO ./usr/bin/qemu-i386 >"$state/qemu-i386.new"
        } >>"$log" 2>&1 || die "fetching qemu-user from bookworm-backports failed (see $log)"
        chmod +x "$state/qemu-i386.new"
        mv "$state/qemu-i386.new" "$state/qemu-i386"
        rm -rf "$apt_dir"
    fi
    # F: the kernel opens the emulator now, so that it serves inside the i386 Debian too.
    # P: the program keeps the argv[0] it was started with. binfmt_misc tries its entries before
    # the kernel's own loader of i386 programs.
    printf ':%s:M::%s:%s:%s:PF' "$entry" \
        '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
        "$state/qemu-i386" >"$binfmt/register"
    touch "$state/binfmt-entry"
    probe_runs || die "qemu-i386 does not run i386 programs (see $binfmt/$entry)"
    echo "i386-env: i386 programs run through qemu-i386 ($state/qemu-i386)"
fi

# Made again when missing, left half made, or made with other packages.
settings="bookworm minbase $packages"
if [ "$(cat "$state/root.ready" 2>/dev/null)" != "$settings" ]; then
    echo "i386-env: making an i386 Debian 12 in $root (log: $log)"
    rm -f "$state/root.ready"
    end_processes
    rm -rf --one-file-system "$root"
    # debootstrap mounts /proc and /sys in the root; its own namespace takes them away with it.
    unshare --mount --propagation private -- debootstrap --arch=i386 --variant=minbase bookworm \
        "$root" "$mirror" >>"$log" 2>&1 || die "debootstrap failed (see $log)"
    touch "$state/started"
    # shellcheck disable=SC2086
    {
        "$self" run "$build" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
            --no-install-recommends $packages &&
            "$self" run "$build" apt-get clean
    } >>"$log" 2>&1 || die "installing $packages in the i386 Debian failed (see $log)"
    echo "$settings" >"$state/root.ready"
fi

touch "$state/started"
trap - EXIT
