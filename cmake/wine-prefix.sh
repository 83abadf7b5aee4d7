# Sourced by cmake/wine-run and scripts/setup: creates the Wine prefix in $WINEPREFIX
# once, configured for running without a window manager.
ensure_wine_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    mkdir -p "$WINEPREFIX"
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    # Unmanaged windows: with no window manager Wine otherwise waits two seconds for each
    # window it hides or destroys.
    WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1 || true
    wineserver -w
}
