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
    vn_boot_prefix || return 1
    if [ -n "${VN_XINERAMA:-}" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
    fi
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/tahoma*.ttf "$fonts/" 2>/dev/null || true
    wineserver -w
}

# A first-time prefix is not always ready when wineboot returns (the first start
# of Wine on a machine sets up more than later ones, and a busy machine can let
# it time out): wait for its processes, check that its registry answers, and
# otherwise make it again once. Says what went wrong when that fails too.
vn_boot_prefix() {
    local try log="${TMPDIR:-/tmp}/vn-wineboot.$$.log"
    for try in 1 2; do
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >"$log" 2>&1 || true
        fi
        wineserver -w 2>/dev/null || true
        if [ -f "$WINEPREFIX/system.reg" ] &&
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
                >>"$log" 2>&1; then
            rm -f "$log"
            return 0
        fi
        echo "Wine prefix $WINEPREFIX is not ready (attempt $try of 2)" >&2
        tail -n 5 "$log" >&2 2>/dev/null || true
        wineserver -k 2>/dev/null || true
        # Only a throwaway prefix of our own is wiped; a user's prefix keeps
        # its files and is booted again over them.
        if [ -n "$VN_OWN_PREFIX" ] && [ "$VN_OWN_PREFIX" = "$WINEPREFIX" ]; then
            find "${WINEPREFIX:?}" -mindepth 1 -maxdepth 1 ! -name xinerama -exec rm -rf {} +
        else
            rm -f "$WINEPREFIX/system.reg"
        fi
    done
    rm -f "$log"
    echo "could not make the Wine prefix $WINEPREFIX" >&2
    return 1
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
