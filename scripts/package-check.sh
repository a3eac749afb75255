#!/usr/bin/env bash
# Tries the Debian package as a user would: makes it with ./package, installs it, validates its
# desktop entry and AppStream file, starts the installed editor as an ordinary user with a fresh
# home (offscreen), and removes the package again. Prints each check; any failure ends the run
# with a non-zero status. Needs root (it installs packages and adds a throwaway user).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi

step() { echo "== $*"; }
ok() { echo "ok: $*"; }
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Another install on this machine may hold dpkg's lock for a while: wait for it (up to 5 minutes).
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; }
dpkg_waiting() {
    local tries=0 out
    until out=$(dpkg "$@" 2>&1); do
        if [ "$tries" -lt 150 ] && grep -q 'lock' <<<"$out"; then
            tries=$((tries + 1))
            sleep 2
            continue
        fi
        echo "$out" >&2
        return 1
    done
}

tools=(desktop-file-utils appstream strace passwd)
missing=()
for p in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_get update -qq
    apt_get install -y -qq "${missing[@]}" >/dev/null
fi

user=kotoricheck
work=$(mktemp -d /tmp/kotori-check.XXXXXXXX)
home="$work/home"
installed_here=0
cleanup() {
    status=$?
    if id "$user" >/dev/null 2>&1; then
        userdel "$user" 2>/dev/null || true
    fi
    rm -rf "$work"
    if [ "$installed_here" -eq 1 ] && dpkg-query -W -f='${Status}' kotori 2>/dev/null | grep -q 'ok installed'; then
        echo "Removing the package left installed by the failed check"
        dpkg_waiting -r kotori || true
    fi
    exit "$status"
}
trap cleanup EXIT

step "Building the package: ./package"
./package >"$work/package.log" 2>&1 || {
    tail -40 "$work/package.log"
    fail "./package"
}
deb=$(sed -n 's/^Package: //p' "$work/package.log" | tail -1)
[ -f "$deb" ] || fail "./package named no package file"
ok "$(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

step "Installing it: apt-get install $deb"
if dpkg-query -W -f='${Status}' kotori 2>/dev/null | grep -q 'ok installed'; then
    echo "kotori is installed already: removing it first"
    dpkg_waiting -r kotori
fi
installed_here=1
apt_get install -y -qq "$deb" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"
    fail "apt-get install"
}
dpkg -L kotori >"$work/files"
for f in /usr/bin/kotori /usr/share/applications/kotori.desktop /usr/share/doc/kotori/readme.txt \
    /usr/share/doc/kotori/copyright /usr/share/doc/kotori/OFL.txt /usr/share/icons/hicolor/48x48/apps/kotori.png; do
    [ -f "$f" ] || fail "$f is not installed"
done
metainfo=$(grep '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/files" || true)
[ -n "$metainfo" ] || fail "no AppStream metainfo file installed"
ok "$(grep -c . "$work/files") paths installed"

step "desktop-file-validate /usr/share/applications/kotori.desktop"
out=$(desktop-file-validate /usr/share/applications/kotori.desktop 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
ok "no errors, warnings or hints"

step "appstreamcli validate --no-net $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

# A throwaway user, as a person who installed the package: /usr/bin is not theirs to write.
step "Starting /usr/bin/kotori as the user $user with a fresh home (offscreen)"
if id "$user" >/dev/null 2>&1; then
    userdel "$user" # left by a check that was killed
fi
useradd --no-create-home --home-dir "$home" --user-group --shell /usr/sbin/nologin "$user"
mkdir -m 700 "$home" "$home/runtime"
# Becky! 1.26 in a Wine prefix of the user's own, the demo ./run uses.
(
    export HOME="$home"
    unset WINEPREFIX
    mkdir -p "$home/demo"
    source scripts/demo-becky.sh "$home/demo" >/dev/null
)
mkdir -m 700 "$work/traces"
chown -R "$user:" "$home" "$work/traces"
chmod 711 "$work"
data="$home/.local/share/kotori"
use_strace=1
if ! strace -o /dev/null true 2>/dev/null; then
    use_strace=0
    echo "strace cannot trace here: the checks of what the editor opens are left out"
fi

# Runs the installed editor as the user for a few seconds; it is still running at the end
# (waiting for an answer, or in its window) unless it failed. $1 names the file-access log.
start_editor() {
    local log="$1" status=0
    local command=(runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime"
        LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen WINEPREFIX="$home/demo/demo-wine")
    if [ "$use_strace" -eq 1 ]; then
        command+=(strace -f -qq -e trace=%file -o "$log")
    fi
    (cd "$home" && "${command[@]}" timeout 8 /usr/bin/kotori) >"$work/editor.out" 2>&1 || status=$?
    [ "$status" -eq 124 ] || {
        cat "$work/editor.out"
        fail "the editor ended by itself (status $status) instead of running"
    }
    [ "$use_strace" -eq 1 ] || return 0
    # Whatever it creates, changes or removes is in the user's home.
    local outside
    outside=$(awk -v home="$home/" '
        $2 ~ /^(creat|mkdir|mkdirat|unlink|unlinkat|rename|renameat|renameat2|rmdir|symlink|symlinkat|link|linkat|chmod|fchmodat|chown|fchownat|lchown|truncate|utimensat)\(/ ||
        ($2 ~ /^open(at)?\(/ && /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC/) {
            split($0, q, "\"")
            if (index(q[2], home) != 1) print
        }' "$log")
    [ -z "$outside" ] || fail "the editor wrote outside its home: $outside"
}
opened() { grep -qE "^[0-9]+ +(openat|newfstatat|statx)\([^\"]*\"$2\".* = [0-9]" "$1"; }

start_editor "$work/traces/first"
ok "the first start is waiting for its first question (the i-mode address)"
[ -d "$data" ] || fail "$data was not made"
[ "$(stat -c '%a %U' "$data")" = "700 $user" ] || fail "$data is $(stat -c '%a %U' "$data"), not 700 $user"
ok "$data made, mode 700, owned by $user"
if [ "$use_strace" -eq 1 ]; then
    opened "$work/traces/first" "$home/demo/demo-wine/user.reg" || fail "the editor did not read Wine's user.reg"
    ok "it read Becky!'s settings from the Wine prefix's user.reg"
    opened "$work/traces/first" /usr/share/doc/kotori/readme.txt || fail "the editor did not find the installed readme.txt"
    ok "it found readme.txt in /usr/share/doc/kotori (ヘルプ → ReadMe)"
    ok "it wrote nothing outside $home"
fi

# The pointer file the answer would have written: later starts read it and ask nothing.
printf 'C:\\Becky!\\\r\nyou@docomo.ne.jp\r\ndemo,1\r\nyou@docomo.ne.jp\r\n' >"$data/Becky.mil"
chown "$user:" "$data/Becky.mil"
start_editor "$work/traces/second"
ok "the second start is running"
if [ "$use_strace" -eq 1 ]; then
    opened "$work/traces/second" "$data/Becky.mil" || fail "the editor did not read $data/Becky.mil"
    ! grep -q 'user\.reg' "$work/traces/second" || fail "the editor searched for Becky! again"
    ok "it read Becky.mil from $data and did not search for Becky! again"
    ok "it wrote nothing outside $home"
fi
written=$(find /usr -xdev -user "$user" 2>/dev/null || true)
[ -z "$written" ] || fail "files of $user under /usr: $written"
ok "nothing of $user's under /usr"

step "Removing it: dpkg -r kotori"
dpkg_waiting -r kotori
installed_here=0
left=()
while IFS= read -r path; do
    [ "$path" = /. ] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        # A folder stays when other packages have files there, or files not of a package (caches).
        if ! dpkg -S "$path" >/dev/null 2>&1 && [ -z "$(ls -A "$path")" ]; then
            left+=("$path")
        fi
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left after removal: ${left[*]}"
[ ! -e /usr/share/doc/kotori ] || fail "/usr/share/doc/kotori is still there"
ok "every file it installed is gone, and its own folders"
echo "Package check passed: built, installed, validated, started as a user, removed."
