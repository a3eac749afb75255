#!/usr/bin/env bash
# Sourced by ./run with the build folder as $1. When the user's Wine prefix has no Becky!
# registered, sets up a demo Becky! 1.26 installation under "$1/demo-wine" and points
# WINEPREFIX at it, so the editor has somewhere to send to. Touches nothing outside "$1".

kotori_has_becky() {
    # True when user.reg names Becky! 1.26's data folder (or Becky! 2's).
    local reg="$1/user.reg"
    [ -f "$reg" ] || return 1
    awk '
        /^\[/ {
            key = tolower($0)
            inside = index(key, "[software\\\\rimarts\\\\rebecca\\\\settings]") == 1 ||
                     index(key, "[software\\\\rimarts\\\\b2\\\\settings]") == 1
            next
        }
        inside && tolower($0) ~ /^"(homedir|datadir)"="[^"]/ { found = 1 }
        END { exit found ? 0 : 1 }
    ' "$reg"
}

kotori_demo_becky() {
    local build user_prefix demo first=0 pointer
    build="$(cd "$1" && pwd)"
    user_prefix="${WINEPREFIX:-${HOME:-}/.wine}"
    if kotori_has_becky "$user_prefix"; then
        return 0
    fi
    demo="$build/demo-wine"
    [ -f "$demo/user.reg" ] || first=1
    # OutBox holds the account's Draft.mbx; without it saving a draft cannot succeed.
    mkdir -p "$demo/dosdevices" "$demo/drive_c/Becky!/User1/OutBox" "$demo/drive_c/Becky!/AddrBook"
    ln -sfn ../drive_c "$demo/dosdevices/c:"
    if [ "$first" -eq 1 ]; then
        printf '%s\n' \
            'WINE REGISTRY Version 2' \
            ';; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000' \
            '' \
            '#arch=win64' \
            '' \
            '[Software\\RIMArts\\Rebecca\\Settings] 1796587634' \
            '"HomeDir"="C:\\Becky!\\"' \
            '' \
            '[Software\\RIMArts\\Rebecca\\Users\\0] 1796587635' \
            '"Account"="demo"' \
            '"Address"="you@docomo.ne.jp"' \
            '"MailDirNo"=dword:00000001' >"$demo/user.reg.tmp"
        mv "$demo/user.reg.tmp" "$demo/user.reg"
        # A pointer file left by runs on another prefix would send the editor there.
        for pointer in "$build/src/Becky.mil" "$build/src/Becky2.mil"; do
            [ -f "$pointer" ] || continue
            if [ "$(head -n 1 "$pointer" | tr -d '\r')" != 'C:\Becky!\' ] || [ "${pointer##*/}" = Becky2.mil ]; then
                echo "Demo Becky!: removing $pointer (it points to another installation)"
                rm -f -- "$pointer"
            fi
        done
    fi
    export WINEPREFIX="$demo"
    echo "No Becky! registered in $user_prefix: using the demo Becky! 1.26 in $demo"
    echo "Mail sent from the account \"demo\" lands in $demo/drive_c/Becky!/User1/OutBox.mbx"
}

kotori_demo_becky "$1"
unset -f kotori_demo_becky kotori_has_becky
