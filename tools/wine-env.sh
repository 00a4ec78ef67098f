# Sourced by the scripts that run Windows code under Wine.
#   vn_start_x       starts Xvfb on a free display unless DISPLAY already works
#   vn_make_prefix   makes a throwaway WINEPREFIX (unmanaged windows, real Tahoma)
#   vn_copy_prefix D makes a throwaway WINEPREFIX as a copy of the prefix D
#   vn_wine_cleanup  ends the wineserver and the X server it started
# Optional: VN_XINERAMA="1280x1024+1024+0,1024x768+0+0" gives Wine two monitors.

VN_XVFB_PID=""
VN_OWN_PREFIX=""

vn_start_x() {
    local size="${1:-1600x1200x24}"
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${VN_FORCE_XVFB:-}" ]; then
        return 0
    fi
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
        VN_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$VN_XVFB_PID" 2>/dev/null || true
    done
    echo "could not start Xvfb" >&2
    return 1
}

vn_make_prefix() {
    export WINEARCH=win64 WINEDEBUG=-all
    if [ -z "${WINEPREFIX:-}" ]; then
        WINEPREFIX="$(mktemp -d /tmp/vn-wine.XXXXXX)"
        VN_OWN_PREFIX="$WINEPREFIX"
        export WINEPREFIX
    fi
    if [ -n "${VN_XINERAMA:-}" ]; then
        local dir="$WINEPREFIX/xinerama"
        mkdir -p "$dir"
        gcc -shared -fPIC -O2 -o "$dir/libXinerama.so.1" "$VN_ROOT/tools/fakexinerama.c"
        export LD_LIBRARY_PATH="$dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
        export FAKE_XINERAMA="$VN_XINERAMA"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    fi
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    if [ -n "${VN_XINERAMA:-}" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
    fi
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/tahoma*.ttf "$fonts/" 2>/dev/null || true
    wineserver -w
}

vn_copy_prefix() {
    local from="$1"
    export WINEARCH=win64 WINEDEBUG=-all
    # The files of a prefix are whole once its wineserver has ended.
    WINEPREFIX="$from" wineserver -w 2>/dev/null || true
    WINEPREFIX="$(mktemp -d /tmp/vn-wine.XXXXXX)"
    VN_OWN_PREFIX="$WINEPREFIX"
    export WINEPREFIX
    cp -a "$from/." "$WINEPREFIX/"
}

vn_wine_cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    if [ -n "$VN_OWN_PREFIX" ]; then
        rm -rf "$VN_OWN_PREFIX"
    fi
    if [ -n "$VN_XVFB_PID" ]; then
        kill "$VN_XVFB_PID" 2>/dev/null || true
    fi
}
