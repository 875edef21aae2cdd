#!/usr/bin/env bash
# End-to-end tests of the Windows screen saver: builds the 64-bit and 32-bit .scr with
# MinGW-w64, inspects both, and runs the 64-bit one under Wine on a 1920x1080 Xvfb screen
# (this kernel runs no 32-bit programs). Prints PASS/FAIL per case, a few measured figures
# (never asserted), and a closing "N passed, M failed" line; exits non-zero on any failure.
# Skips, exiting 0, only when MinGW-w64 or Wine is not installed.
#
#   tests/windows/run_windows_tests.sh [--no-build]
set -u

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
HERE="$ROOT/tests/windows"
BUILD64="$ROOT/build/windows-64"
BUILD32="$ROOT/build/windows-32"
SAVER="$BUILD64/colorlines.scr"
PROGRAMS="$BUILD64/tests/windows"
WORK="$BUILD64/wine-tests"
WIDTH=1920
HEIGHT=1080

# ---- Prerequisites ----------------------------------------------------------------------
WINE="${WINE64:-}"
if [[ -z "$WINE" ]]; then
    for candidate in /usr/lib/wine/wine64 "$(command -v wine64 2>/dev/null)"; do
        if [[ -n "$candidate" && -x "$candidate" ]]; then WINE="$candidate"; break; fi
    done
fi
if ! command -v x86_64-w64-mingw32-g++ >/dev/null || ! command -v i686-w64-mingw32-g++ >/dev/null; then
    echo "SKIP: MinGW-w64 (g++-mingw-w64-x86-64, g++-mingw-w64-i686) is not installed"
    exit 0
fi
if [[ -z "$WINE" ]]; then
    echo "SKIP: Wine (package wine64) is not installed"
    exit 0
fi
WINESERVER="$(dirname "$WINE")/wineserver"
[[ -x "$WINESERVER" ]] || WINESERVER="$(command -v wineserver 2>/dev/null || true)"
missing=()
for tool in Xvfb xdotool import python3 x86_64-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
    echo "FAIL: missing tools: ${missing[*]} (packages xvfb xdotool imagemagick python3 binutils-mingw-w64)"
    exit 1
fi

# ---- Bookkeeping ------------------------------------------------------------------------
PASSED=0
FAILED=0
FAILED_NAMES=()
FIGURES=()
RUN_START=$(date +%s)

pass() { echo "PASS $1"; PASSED=$((PASSED + 1)); }
fail() { echo "FAIL $1${2:+: $2}"; FAILED=$((FAILED + 1)); FAILED_NAMES+=("$1"); }
figure() { echo "  figure: $*"; FIGURES+=("$*"); }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Seconds, two decimals, from milliseconds.
seconds() { printf '%d.%02d' $(( $1 / 1000 )) $(( ($1 % 1000) / 10 )); }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
TICKS_PER_SECOND=$(getconf CLK_TCK)

# Waits up to $2 seconds for process $1, a child of this shell, to end. Sets RC to its
# exit code, or to "timeout" after killing it. (Not a $(...) function: a subshell cannot
# wait for its parent's children.)
wait_exit() {
    local pid=$1 limit=$2 waited=0
    while kill -0 "$pid" 2>/dev/null && ((waited < limit * 10)); do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        RC=timeout
    else
        wait "$pid"
        RC=$?
    fi
}

# Polls until the saver's full-screen window is mapped; fails after $1 seconds.
wait_for_saver_window() {
    local limit=$1 tries=0
    while ((tries < limit * 20)); do
        if xdotool search --onlyvisible --classname colorlines.scr >/dev/null 2>&1; then return 0; fi
        sleep 0.05
        tries=$((tries + 1))
    done
    return 1
}

shot() { import -display "$DISPLAY" -window root -depth 8 "$1"; }

# ---- Build ------------------------------------------------------------------------------
if [[ "${1:-}" != "--no-build" ]]; then
    echo "== building windows-64 and windows-32"
    for preset in windows-64 windows-32; do
        extra=()
        [[ $preset == windows-64 ]] && extra=(-DCOLORLINES_BUILD_WINDOWS_TEST_PROGRAMS=ON)
        if ! (cd "$ROOT" && cmake --preset "$preset" "${extra[@]}" >"$ROOT/build/$preset-configure.log" 2>&1 &&
              cmake --build --preset "$preset" -j2 >"$ROOT/build/$preset-build.log" 2>&1); then
            echo "FAIL build-$preset (see build/$preset-configure.log and build/$preset-build.log)"
            tail -20 "$ROOT/build/$preset-build.log" 2>/dev/null
            echo "0 passed, 1 failed"
            exit 1
        fi
    done
    echo "  built in $(( $(date +%s) - RUN_START )) s"
fi

# ---- The executables --------------------------------------------------------------------
# Both must be GUI programs that need nothing but DLLs every Windows has.
inspect_pe() {
    local name=$1 file=$2 magic=$3 dump bad
    if [[ ! -f "$file" ]]; then fail "$name" "$file not built"; return; fi
    dump=$(x86_64-w64-mingw32-objdump -p "$file")
    bad=$(grep -i "DLL Name:" <<<"$dump" | awk '{print tolower($3)}' |
          grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|msvcrt\.dll|advapi32\.dll|comctl32\.dll|ntdll\.dll' || true)
    if ! grep -qE "^Magic[[:space:]]+$magic" <<<"$dump"; then
        fail "$name" "not magic $magic: $(grep ^Magic <<<"$dump")"
    elif ! grep -qE "^Subsystem[[:space:]]+00000002" <<<"$dump"; then
        fail "$name" "not a GUI program: $(grep ^Subsystem <<<"$dump")"
    elif [[ -n "$bad" ]]; then
        fail "$name" "imports non-system DLLs: $(tr '\n' ' ' <<<"$bad")"
    else
        pass "$name ($(grep -i 'DLL Name:' <<<"$dump" | awk '{print $3}' | tr '\n' ' '))"
    fi
}
echo "== executables"
inspect_pe "pe32-plus-gui-64bit" "$SAVER" "020b"
inspect_pe "pe32-gui-32bit" "$BUILD32/colorlines.scr" "010b"

# ---- Wine and the X screen ----------------------------------------------------------------
rm -rf "$WORK"
mkdir -p "$WORK"
export WINEPREFIX="$WORK/prefix"
export WINEDEBUG=-all
# No Mono or Gecko: nothing here uses them and they cannot be downloaded.
export WINEDLLOVERRIDES="mscoree,mshtml="
XVFB_PID=""
SAVER_PID=""
cleanup() {
    [[ -n "$SAVER_PID" ]] && kill "$SAVER_PID" 2>/dev/null
    [[ -n "$WINESERVER" ]] && WINEPREFIX="$WINEPREFIX" "$WINESERVER" -k 2>/dev/null
    [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null
}
trap cleanup EXIT

exec 5>"$WORK/display"
Xvfb -displayfd 5 -screen 0 "${WIDTH}x${HEIGHT}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 5>&-
for _ in $(seq 1 100); do [[ -s "$WORK/display" ]] && break; sleep 0.1; done
if [[ ! -s "$WORK/display" ]]; then
    echo "FAIL xvfb: did not start"; cat "$WORK/xvfb.log"; echo "$PASSED passed, $((FAILED + 1)) failed"; exit 1
fi
export DISPLAY=":$(head -1 "$WORK/display")"

echo "== preparing a Wine prefix (once per run)"
boot_start=$(now_ms)
"$WINE" wineboot -i >"$WORK/wineboot.log" 2>&1
[[ -n "$WINESERVER" ]] && "$WINESERVER" -w
figure "wineboot took $(seconds $(( $(now_ms) - boot_start ))) s"

win_path() { printf 'Z:%s' "${1//\//\\}"; }

# ---- The moving point: the same floats as the Linux build ----------------------------------
echo "== the moving point on Windows and on Linux"
if ! g++ -std=c++17 -O2 -ffp-contract=off -I"$ROOT" "$HERE/programs/motion_probe.cpp" \
       -o "$WORK/motion_probe" 2>"$WORK/motion_probe.log"; then
    fail "motion-matches-linux" "the Linux build of the probe failed: $(head -3 "$WORK/motion_probe.log")"
else
    "$WORK/motion_probe" >"$WORK/motion-linux.txt"
    "$WINE" "$PROGRAMS/motion_probe.exe" 2>/dev/null | tr -d '\r' >"$WORK/motion-windows.txt"
    if [[ -s "$WORK/motion-linux.txt" ]] && cmp -s "$WORK/motion-linux.txt" "$WORK/motion-windows.txt"; then
        pass "motion-matches-linux ($(tail -1 "$WORK/motion-linux.txt"))"
    else
        fail "motion-matches-linux" "$(diff "$WORK/motion-linux.txt" "$WORK/motion-windows.txt" | head -8 | tr '\n' ' ')"
    fi
fi

# ---- Full screen: the picture, and a mouse move ends it -----------------------------------
echo "== /s: the picture"
xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
shots="$WORK/fullscreen"
mkdir -p "$shots"
launch=$(now_ms)
"$WINE" "$SAVER" /s >"$WORK/fullscreen.log" 2>&1 &
SAVER_PID=$!
if ! wait_for_saver_window 30; then
    fail "fullscreen-picture" "no window appeared within 30 s"
    fail "mouse-move-ends" "no saver to end"
    kill "$SAVER_PID" 2>/dev/null; SAVER_PID=""
else
    mapped=$(now_ms)
    figure "/s window mapped $(seconds $((mapped - launch))) s after launch"
    # Re-targeting is possible from 4 s after the window's creation and certain after 7 s:
    # shots up to 3 s after mapping must show the first, pure green swarms.
    early=()
    i=0
    while (( $(now_ms) - mapped < 3000 )); do
        f="$shots/early-$(printf %02d $i)-at-$(( $(now_ms) - mapped ))ms.ppm"
        shot "$f" && early+=("$f")
        i=$((i + 1))
    done
    first_green=""
    for f in "${early[@]}"; do
        if python3 "$HERE/analyse_screen.py" green "$f" >/dev/null; then
            first_green=$(sed -E 's/.*-at-([0-9]+)ms\.ppm/\1/' <<<"$f"); break
        fi
    done
    left=$(( 8000 - ($(now_ms) - mapped) ))
    ((left > 0)) && sleep "$(seconds "$left")"
    shot "$shots/late-1.ppm"; sleep 0.5; shot "$shots/late-2.ppm"

    early_report=$(python3 "$HERE/analyse_screen.py" early "${early[@]}"); early_ok=$?
    late_report=$(python3 "$HERE/analyse_screen.py" late "$shots/late-1.ppm" "$shots/late-2.ppm"); late_ok=$?
    if ((${#early[@]} == 0)); then
        fail "fullscreen-picture" "no screenshot taken in the first 3 s"
    elif ((early_ok != 0)); then
        fail "fullscreen-picture" "first frames not only black and pure green"; echo "$early_report"
    elif [[ -z "$first_green" ]] || ((first_green > 1000)); then
        fail "fullscreen-picture" "no green within 1 s of the window (first green at ${first_green:-never} ms)"
        echo "$early_report"
    elif ((late_ok != 0)); then
        fail "fullscreen-picture" "colours after re-targeting"; echo "$late_report"
    else
        pass "fullscreen-picture (${#early[@]} shots in the first 3 s, first green at ${first_green} ms)"
        sed 's/^/  /' <<<"$late_report"
    fi

    xdotool mousemove 100 100
    wait_exit "$SAVER_PID" 15; rc=$RC; SAVER_PID=""
    if [[ $rc == 0 ]]; then pass "mouse-move-ends"; else fail "mouse-move-ends" "exit: $rc"; fi
fi

# ---- Full screen: the one window, and a key press ends it ----------------------------------
echo "== /s: the window, and a key press"
xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
WINEDEBUG=+win "$WINE" "$SAVER" /s >/dev/null 2>"$WORK/key.trace" &
SAVER_PID=$!
if ! wait_for_saver_window 30; then
    fail "fullscreen-window" "no window appeared within 30 s"
    fail "key-press-ends" "no saver to end"
    kill "$SAVER_PID" 2>/dev/null; SAVER_PID=""
else
    sleep 1
    xdotool key space
    wait_exit "$SAVER_PID" 15; rc=$RC; SAVER_PID=""
    if [[ $rc == 0 ]]; then pass "key-press-ends"; else fail "key-press-ends" "exit: $rc"; fi
    # Wine traces every CreateWindowEx: class, extended style, style, position and size.
    created=$(grep -a "WIN_CreateWindowEx" "$WORK/key.trace" | grep -a '"WindowsScreenSaverClass"\|L"WindowsScreenSaverClass"' || true)
    count=$(grep -c . <<<"$created" || true)
    [[ -z "$created" ]] && count=0
    if ((count != 1)); then
        fail "fullscreen-window" "$count saver windows created"
    elif ! grep -qE "ex=0*8 style=90000000 0,0 ${WIDTH}x${HEIGHT} parent=0+ " <<<"$created"; then
        fail "fullscreen-window" "not a visible topmost popup covering the screen: $created"
    else
        pass "fullscreen-window (one topmost visible popup, 0,0 ${WIDTH}x${HEIGHT})"
    fi
fi

# ---- Modes that end at once without a window -----------------------------------------------
echo "== modes without a window"
# The trace of a full-screen run above proves that the window trace works; here it must
# show no saver window and no dialog or message box. Configure mode must have looked for
# its dialog template (resource type 5, id 2003 = 0x7d3) and found none.
quick_case() {
    local name=$1 expects_dialog=$2; shift 2
    local trace="$WORK/quick-${name//\//_}.trace" start rc took windows dialogs lookup
    start=$(now_ms)
    WINEDEBUG=+win,+resource "$WINE" "$SAVER" "$@" >/dev/null 2>"$trace" &
    local pid=$!
    wait_exit "$pid" 30; rc=$RC
    took=$(seconds $(( $(now_ms) - start )))
    windows=$(grep -a "WIN_CreateWindowEx" "$trace" | grep -ac "WindowsScreenSaverClass" || true)
    dialogs=$(grep -a "WIN_CreateWindowEx" "$trace" | grep -ac "#32770" || true)
    lookup=$(grep -ac "FindResourceExA [0-9A-Fa-f]* #0005 #07d3" "$trace" || true)
    if [[ $rc != 0 ]]; then
        fail "$name" "exit: $rc after $took s"
    elif ((windows != 0 || dialogs != 0)); then
        fail "$name" "made $windows saver windows and $dialogs dialogs"
    elif [[ $expects_dialog == yes && $lookup == 0 ]]; then
        fail "$name" "never looked for the configuration dialog"
    elif [[ $expects_dialog == no && $lookup != 0 ]]; then
        fail "$name" "looked for the configuration dialog"
    else
        pass "$name (exit 0 after $took s, no window)"
    fi
}
quick_case "configure-/c" yes /c
quick_case "configure--C" yes -C
quick_case "configure-no-argument" yes
quick_case "configure-/c:1234" yes /c:1234
quick_case "password-/a" no /a
quick_case "preview-/p-without-number" no /p
quick_case "preview-/p-0" no /p 0
quick_case "preview-/p-12345-no-such-window" no /p 12345
quick_case "preview-/p-junk" no /p junk

# ---- Preview inside another program's window -----------------------------------------------
echo "== /p inside a parent window"
stop="$WORK/preview.stop"
rm -f "$stop"
"$WINE" "$PROGRAMS/preview_parent.exe" "$(win_path "$SAVER")" "$(win_path "$stop")" \
    >"$WORK/preview.out" 2>"$WORK/preview.err" &
PREVIEW_PID=$!
for _ in $(seq 1 400); do grep -q "^ready" "$WORK/preview.out" && break; kill -0 $PREVIEW_PID 2>/dev/null || break; sleep 0.1; done
if grep -q "^ready" "$WORK/preview.out"; then
    preview_saver=$(pgrep -f -- "colorlines.scr /p " | head -1)
    c0=$(cpu_ticks "$preview_saver"); sleep 3; c1=$(cpu_ticks "$preview_saver")
    figure "preview: saver used $(python3 -c "print(f'{($c1 - $c0) / $TICKS_PER_SECOND:.2f}')") CPU s in 3 s (drawing its frames)"
    read -r _ px py pw ph < <(grep "^ready" "$WORK/preview.out")
    import -display "$DISPLAY" -window root -depth 8 -crop "${pw}x${ph}+${px}+${py}" "$WORK/preview.ppm"
fi
touch "$stop"
wait_exit "$PREVIEW_PID" 40; rc=$RC
sed 's/^/  /' "$WORK/preview.out"
if [[ $rc == 0 ]] && ! grep -q "FAIL" "$WORK/preview.out" && grep -q "check saver-exit-code-0: ok" "$WORK/preview.out"; then
    pass "preview-child-and-end-with-parent"
else
    fail "preview-child-and-end-with-parent" "preview_parent exit: $rc"
fi

# ---- Soak: a minute of full screen, memory flat --------------------------------------------
echo "== /s for 60 s: memory and cost per frame"
xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
"$WINE" "$SAVER" /s >"$WORK/soak.log" 2>&1 &
SAVER_PID=$!
if ! wait_for_saver_window 30; then
    fail "soak-memory-flat" "no window appeared within 30 s"
    kill "$SAVER_PID" 2>/dev/null; SAVER_PID=""
else
    : >"$WORK/soak-rss.txt"
    frames_out=""
    for second in $(seq 1 60); do
        sleep 1
        echo "$second $(rss_kib "$SAVER_PID")" >>"$WORK/soak-rss.txt"
        if ((second == 10)); then
            cpu_a=$(cpu_ticks "$SAVER_PID"); xvfb_a=$(cpu_ticks "$XVFB_PID"); wall_a=$(now_ms)
            python3 "$HERE/count_frames.py" 30 >"$WORK/soak-frames.txt" &
            COUNTER_PID=$!
        fi
        if ((second == 20 || second == 30 || second == 40)); then
            shot "$WORK/soak-$second.ppm"
        fi
        if ((second == 50)); then
            cpu_b=$(cpu_ticks "$SAVER_PID"); xvfb_b=$(cpu_ticks "$XVFB_PID"); wall_b=$(now_ms)
        fi
    done
    wait "$COUNTER_PID"
    alive=yes; kill -0 "$SAVER_PID" 2>/dev/null || alive=no
    xdotool mousemove 100 100
    wait_exit "$SAVER_PID" 15; rc=$RC; SAVER_PID=""
    # Wine's heaps and X buffers settle in the first seconds and then stay put to the
    # KiB. A screen bitmap leaked per frame adds 8 MiB a frame; the smallest leak, one pen
    # per frame, adds about 11 KiB a second under Wine 8, some 450 KiB over the 40 s
    # between the two windows compared, so 256 KiB is the bound.
    read -r base_rss growth < <(python3 - "$WORK/soak-rss.txt" <<'EOF'
import sys
samples = [tuple(map(int, line.split())) for line in open(sys.argv[1])]
base = max(r for s, r in samples if 5 <= s <= 10)
late = max(r for s, r in samples if s >= 50)
print(base, late - base)
EOF
)
    figure "saver: $(python3 "$HERE/analyse_screen.py" lit "$WORK"/soak-[234]0.ppm) lit pixels per frame (mean of 3 shots)"
    figure "soak RSS after 10 s ${base_rss} KiB, growth to the last 10 s ${growth} KiB"
    saver_cpu=$(python3 -c "print(($cpu_b - $cpu_a) / $TICKS_PER_SECOND)")
    xvfb_cpu=$(python3 -c "print(($xvfb_b - $xvfb_a) / $TICKS_PER_SECOND)")
    soak_wall=$(python3 -c "print(($wall_b - $wall_a) / 1000)")
    read -r _ soak_updates _ soak_seconds _ soak_rate <"$WORK/soak-frames.txt"
    figure "saver: $soak_rate screen updates/s counted from outside (X DAMAGE, 30 s)"
    figure "saver: $(python3 -c "print(f'{$saver_cpu:.2f} CPU s in {$soak_wall:.1f} s wall = {100*$saver_cpu/$soak_wall:.0f}% of a core; {1000*$saver_cpu/($soak_wall*$soak_rate):.2f} ms CPU per counted frame, {1000*$saver_cpu/($soak_wall*100):.2f} ms per 10 ms tick; Xvfb {1000*$xvfb_cpu/($soak_wall*$soak_rate):.2f} ms per frame')")"
    SAVER_MS_PER_FRAME=$(python3 -c "print(1000*$saver_cpu/($soak_wall*$soak_rate))")
    if [[ $alive != yes ]]; then
        fail "soak-memory-flat" "the saver ended by itself during the minute"
    elif [[ $rc != 0 ]]; then
        fail "soak-memory-flat" "exit after the soak: $rc"
    elif ((growth > 256)); then
        fail "soak-memory-flat" "RSS grew by $growth KiB from ${base_rss} KiB"
    else
        pass "soak-memory-flat (RSS ${base_rss} KiB, growth ${growth} KiB over 50 s)"
    fi
fi

# ---- The yardstick: the same GDI work without the scene ------------------------------------
echo "== figures: a bare program with a 10 ms timer, with and without the GDI work"
"$WINE" "$PROGRAMS/gdi_baseline.exe" timer 10 >"$WORK/baseline-timer.txt" 2>/dev/null
figure "bare 10 ms timer: $(cat "$WORK/baseline-timer.txt")"
"$WINE" "$PROGRAMS/gdi_baseline.exe" lines 40 >"$WORK/baseline-lines.txt" 2>/dev/null &
BASE_PID=$!
sleep 5
cpu_a=$(cpu_ticks "$BASE_PID"); wall_a=$(now_ms)
python3 "$HERE/count_frames.py" 30 >"$WORK/baseline-frames.txt" &
COUNTER_PID=$!
sleep 10
shot "$WORK/baseline.ppm"
wait "$COUNTER_PID"
cpu_b=$(cpu_ticks "$BASE_PID"); wall_b=$(now_ms)
wait "$BASE_PID"
read -r _ _ _ _ _ base_rate <"$WORK/baseline-frames.txt"
figure "bare GDI work: $(python3 "$HERE/analyse_screen.py" lit "$WORK/baseline.ppm") lit pixels per frame"
figure "bare GDI work, own count: $(cat "$WORK/baseline-lines.txt")"
base_cpu=$(python3 -c "print(($cpu_b - $cpu_a) / $TICKS_PER_SECOND)")
base_wall=$(python3 -c "print(($wall_b - $wall_a) / 1000)")
figure "bare GDI work: $base_rate screen updates/s counted from outside; $(python3 -c "print(f'{1000*$base_cpu/($base_wall*$base_rate):.2f} ms CPU per counted frame')")"
if [[ -n "${SAVER_MS_PER_FRAME:-}" ]]; then
    figure "saver / bare CPU per frame: $(python3 -c "print(f'{$SAVER_MS_PER_FRAME / (1000*$base_cpu/($base_wall*$base_rate)):.2f}')")"
fi

# ---- Summary --------------------------------------------------------------------------------
echo "== figures (measured, not asserted)"
for f in "${FIGURES[@]}"; do echo "  $f"; done
echo "  whole run: $(( $(date +%s) - RUN_START )) s"
((FAILED)) && echo "failed: ${FAILED_NAMES[*]}"
echo "$PASSED passed, $FAILED failed"
((FAILED == 0))
