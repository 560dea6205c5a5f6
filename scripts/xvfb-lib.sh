# Sourced by the screenshot scripts. use_xvfb N: draw through Wine's x11
# prefix on $DISPLAY, starting a private Xvfb on display :N when there is no
# display (stopped when the script ends), and bring the prefix up first so
# that the first screenshot shows the program.
use_xvfb() {
    export WINE_GRAPHICS=x11
    if [ -z "${DISPLAY:-}" ]; then
        export DISPLAY=":$1"
        Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
        sleep 1
    fi
    scripts/wine-run cmd /c exit </dev/null >/dev/null 2>&1 || true
}
