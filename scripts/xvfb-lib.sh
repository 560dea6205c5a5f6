# Sourced by the screenshot scripts. use_xvfb: draw through Wine's x11
# prefix on $DISPLAY, starting a private Xvfb on a free display when there is
# no display (stopped when the script ends), and bring the prefix up first so
# that the first screenshot shows the program. Each script gets a display of
# its own, so scripts running at the same time never shoot each other's windows.
use_xvfb() {
    export WINE_GRAPHICS=x11
    if [ -z "${DISPLAY:-}" ]; then
        local number_file
        number_file=$(mktemp)
        # A larger screen above 96 DPI (WINE_DPI), where windows grow.
        local screen=1024x768x24
        [ "${WINE_DPI:-96}" = 96 ] || screen=2048x1536x24
        Xvfb -displayfd 3 -screen 0 $screen -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
        XVFB_PID=$!
        trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
        for _ in $(seq 50); do
            [ -s "$number_file" ] && break
            sleep 0.1
        done
        export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
        rm -f "$number_file"
        [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
    fi
    scripts/wine-run cmd /c exit </dev/null >/dev/null 2>&1 || true
}
