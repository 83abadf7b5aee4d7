# Sourced by cmake/wine-run, scripts/setup and the scripts that set up or run a prefix:
# creates the Wine prefix in $WINEPREFIX once, configured for running without a window
# manager, with Wine's own fonts. As root it takes only a prefix of root's own (see
# wine_prefix_take).
ensure_wine_prefix() {
    wine_prefix_take || return 1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
        # Unmanaged windows: with no window manager Wine otherwise waits two seconds for
        # each window it hides or destroys.
        WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >/dev/null 2>&1 || true
        wineserver -w
    fi
    ensure_wine_fonts
}

# Wine 8 as Debian ships it reads its own fonts (package fonts-wine) only from the
# prefix's Fonts folder, and leaves that folder empty: without them the close box and
# the other symbols of the Marlett font show as letters ("r"), and dialogs fall back to
# some other font than Tahoma. A prefix made before is given them too.
ensure_wine_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ] || return 0
    wine_prefix_mkdir "$fonts" || return 1
    cp -n /usr/share/wine/fonts/* "$fonts/"
}

# Makes $WINEPREFIX the prefix to use, creating its folder when missing. Root writes into
# a prefix (Wine does, and so do these scripts) only where no one else can lead the writes
# elsewhere: the prefix must be root's, and so must every folder on its way from /, none of
# them writable by anyone else. Another user's prefix, or one in a folder another user may
# change, is refused: that user's links would take root's writes anywhere. Such a prefix is
# set up by its owner, as its owner. As root, WINEPREFIX becomes the physical path, so that
# no link met later changes where it leads. For other users Wine itself takes only a prefix
# its user owns.
wine_prefix_take() {
    wine_prefix_mkdir "$WINEPREFIX" || return 1
    [ "$(id -u)" -ne 0 ] || WINEPREFIX=$(realpath -- "$WINEPREFIX")
}

# mkdir -p, as root only within folders that root alone controls (see wine_prefix_take).
# A link on the way as given must be root's; the missing folders are made one at a time,
# so that a folder or link someone else made first in a shared folder such as /tmp is
# found and refused, never written through.
wine_prefix_mkdir() { # folder
    if [ "$(id -u)" -ne 0 ]; then
        mkdir -p -- "$1"
        return
    fi
    local path
    path=$(realpath -ms -- "$1")
    wine_prefix_walk "$path" && wine_prefix_walk "$(realpath -m -- "$path")" create
}

# Checks each folder from / down to a path, as far as it exists; with "create" the path
# has no links, and the missing folders are made. On the way a sticky folder (such as
# /tmp) is fine: others cannot move or replace root's entries in it; the last folder
# must be closed to others altogether.
wine_prefix_walk() { # absolute path, [create]
    local rest=${1#/} dir=/
    while :; do
        if [ -n "${2:-}" ] && [ ! -e "$dir" ] && [ ! -L "$dir" ]; then
            mkdir -- "$dir" 2>/dev/null || true
        fi
        if [ -z "${2:-}" ] && [ -L "$dir" ]; then
            [ "$(stat -c %u -- "$dir")" -eq 0 ] ||
                wine_prefix_refuse "$dir is a link of $(stat -c %U -- "$dir")'s" || return 1
        elif [ -e "$dir" ] || [ -n "${2:-}" ]; then
            wine_prefix_root_only "$dir" "${rest:+sticky}" || return 1
        else
            return 0
        fi
        [ -n "$rest" ] || return 0
        dir=${dir%/}/${rest%%/*}
        [[ $rest == */* ]] && rest=${rest#*/} || rest=
    done
}

# Whether a folder is root's and no one else may change what it holds; with "sticky" a
# folder others may add to is fine when it is sticky.
wine_prefix_root_only() { # folder, [sticky]
    local uid gid mode problem=
    if [ -L "$1" ] || [ ! -d "$1" ]; then
        problem="is a link or no folder"
    else
        read -r uid gid mode < <(stat -c '%u %g %a' -- "$1")
        mode=$((8#$mode))
        if [ "$uid" -ne 0 ]; then
            problem="belongs to $(stat -c %U -- "$1"), not root"
        elif [ $((mode & 8#002)) -ne 0 ] || { [ $((mode & 8#020)) -ne 0 ] && [ "$gid" -ne 0 ]; }; then
            [ $((mode & 8#1000)) -ne 0 ] && [ -n "${2:-}" ] || problem="may be changed by others"
        fi
    fi
    [ -z "$problem" ] || wine_prefix_refuse "$1 $problem"
}

wine_prefix_refuse() { # reason
    echo "${0##*/}: refused as root: $1. Root uses only a Wine prefix of its own, in" \
        "folders no one else may change; another user's prefix is set up as that user." >&2
    return 1
}
