# Sourced by cmake/wine-run and scripts/setup: creates the Wine prefix in $WINEPREFIX
# once, configured for running without a window manager, with Wine's own fonts.
ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
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
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/* "$fonts/"
}
