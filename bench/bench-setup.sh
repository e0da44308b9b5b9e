# Sourced by the bench scripts that run the program on a display of their
# own. glimmerly_bench_setup TARGET... builds those targets of the Windows
# tree, starts a virtual display and readies the bench prefix
# (build/win/bench-prefix, in $prefix). The display and the prefix's Wine
# server go when the script ends, after the commands in $bench_cleanup.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup-common.sh"

bench_cleanup=":"

glimmerly_bench_setup() {
    glimmerly_install_packages || exit 1
    glimmerly_build_windows "$@" || exit 1
    prefix="$GLIMMERLY_ROOT/build/win/bench-prefix"
    mkdir -p "$prefix"
    glimmerly_start_xvfb || exit 1
    trap 'eval "$bench_cleanup"; WINEPREFIX="$prefix" wineserver -k 2>/dev/null; glimmerly_stop_xvfb' EXIT
    glimmerly_wine_prefix "$prefix"
    # Without it Wine hides a full-screen window only after two seconds, as it
    # waits for a window manager that is not there.
    "$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
}
