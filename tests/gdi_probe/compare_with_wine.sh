#!/bin/sh
# Runs the line probe twice, once on the stand-in and once on real GDI (the Windows build,
# under Wine), and fails with a diff unless both drew exactly the same pixels.
#
#   compare_with_wine.sh LINUX_PROBE WINDOWS_PROBE WINE_LOADER WORK_DIR
#
# Exits 77 (skipped) when there is no Windows build of the probe or no Wine to run it.
set -u

linux_probe=$1
windows_probe=$2
wine=$3
work=$4
skipped=77

if [ -z "$windows_probe" ] || [ ! -f "$windows_probe" ]; then
    echo "SKIPPED: no Windows build of the line probe; install MinGW-w64" \
         "(x86_64-w64-mingw32-g++, Debian package g++-mingw-w64-x86-64) and reconfigure."
    exit $skipped
fi
if [ -z "$wine" ] || [ ! -x "$wine" ]; then
    echo "SKIPPED: Wine was not found to run the Windows build of the line probe;" \
         "install it (Debian package wine64) and reconfigure."
    exit $skipped
fi

wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)

mkdir -p "$work" || exit 1
prefix="$work/wineprefix"
ready="$prefix/.ready-for-line-probe"

# Wine needs no display for memory bitmaps; leaving it out keeps the run the same on every
# machine. Mono and Gecko are never needed, and asking for them only slows the first boot.
unset DISPLAY WAYLAND_DISPLAY
WINEPREFIX=$prefix
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

stop_wineserver() {
    # Only the server of our own prefix; it would otherwise linger for a few seconds.
    if [ -n "$wineserver" ]; then "$wineserver" -k 2>/dev/null; fi
}

started=$(date +%s)

# The first boot of a prefix takes a while (tens of seconds on a slow machine). A prefix
# whose boot was cut short is started afresh rather than trusted.
if [ ! -f "$ready" ]; then
    rm -rf "$prefix"
    echo "Creating the Wine prefix $prefix (first run only)..."
    if ! "$wine" wineboot -i >"$work/wineboot.log" 2>&1; then
        echo "FAILED: wineboot could not create the prefix; its output:"
        cat "$work/wineboot.log"
        stop_wineserver
        exit 1
    fi
    [ -n "$wineserver" ] && "$wineserver" -w
    touch "$ready"
    echo "Wine prefix ready after $(( $(date +%s) - started )) s."
fi

run_under_wine() {
    "$wine" "$windows_probe" >"$work/gdi.raw" 2>"$work/gdi.stderr"
}
run_under_wine
status=$?
if [ $status -ne 0 ] && command -v xvfb-run >/dev/null 2>&1; then
    # Some set-ups want a display even for this; give them a virtual one.
    echo "The probe failed under Wine without a display (exit $status); retrying under xvfb-run."
    stop_wineserver
    xvfb-run -a "$wine" "$windows_probe" >"$work/gdi.raw" 2>"$work/gdi.stderr"
    status=$?
fi
stop_wineserver
if [ $status -ne 0 ]; then
    echo "FAILED: the Windows build of the probe exited with $status under Wine."
    echo "--- its output ---"; cat "$work/gdi.raw"
    echo "--- its errors ---"; cat "$work/gdi.stderr"
    exit 1
fi
# The Windows C runtime ends lines with CR LF.
tr -d '\r' <"$work/gdi.raw" >"$work/gdi.txt"

if ! "$linux_probe" >"$work/standin.txt" 2>"$work/standin.stderr"; then
    echo "FAILED: the stand-in build of the probe failed."
    echo "--- its output ---"; cat "$work/standin.txt"
    echo "--- its errors ---"; cat "$work/standin.stderr"
    exit 1
fi

lines=$(wc -l <"$work/gdi.txt")
if [ "$lines" -eq 0 ]; then
    echo "FAILED: the probe printed nothing under Wine."
    exit 1
fi

if ! cmp -s "$work/gdi.txt" "$work/standin.txt"; then
    differing=$(diff "$work/gdi.txt" "$work/standin.txt" | grep -c '^<')
    echo "FAILED: the stand-in draws $differing of $lines probe lines differently from GDI."
    echo "Lines starting with - are what GDI (Wine) drew, + what the stand-in drew:"
    diff -u --label "GDI under Wine" --label "stand-in" "$work/gdi.txt" "$work/standin.txt"
    exit 1
fi

echo "The stand-in drew all $lines probe lines exactly as GDI under Wine" \
     "($(( $(date +%s) - started )) s)."
exit 0
