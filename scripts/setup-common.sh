# Shared by scripts/test and scripts/run: installs what the build needs on a
# Debian 12 machine and configures and builds the trees. Sourced, not run.

GLIMMERLY_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# One compiler cache serves every clone on the machine (CI builds in a fresh
# clone each time): paths inside the tree are hashed relative to it, and the
# build folder stays out of the hash, so another clone's objects are found.
export CCACHE_BASEDIR="$GLIMMERLY_ROOT" CCACHE_NOHASHDIR=1
GLIMMERLY_PACKAGES="cmake ninja-build g++ clang python3 ccache googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils x11-xserver-utils xdotool fonts-roboto-unhinted pngcheck"

glimmerly_install_packages() {
    local missing=()
    local p
    for p in $GLIMMERLY_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages and not root: run as root, or install them: ${missing[*]}" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
}

# Parallel jobs for every build and ctest run: GLIMMERLY_JOBS, else all cores.
glimmerly_jobs() { echo "${GLIMMERLY_JOBS:-$(nproc 2>/dev/null || echo 2)}"; }

# glimmerly_configure TREE [cmake options...]
# The options are kept in a stamp file in the tree: a tree configured with
# other options is configured afresh (its cache dropped, so that an option
# left out does not linger), while an unchanged tree skips CMake entirely.
glimmerly_configure() {
    local tree="$1"; shift
    local dir="$GLIMMERLY_ROOT/build/$tree"
    local stamp="$dir/glimmerly-configure.stamp"
    local wanted
    wanted=$(printf '%s\n' -G Ninja "$@")
    if [ -f "$dir/build.ninja" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
        return 0
    fi
    # The compiler checks of the old options go too; the objects stay, and
    # Ninja rebuilds those whose command line changed.
    rm -rf "$dir/CMakeCache.txt" "$dir"/CMakeFiles/[0-9]*.*/ "$stamp"
    cmake -S "$GLIMMERLY_ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
    printf '%s\n' "$wanted" >"$stamp"
}

# glimmerly_compile TREE [targets...]: every target when none is named.
glimmerly_compile() {
    local dir="$GLIMMERLY_ROOT/build/$1"; shift
    local targets=() t
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$dir" -j "$(glimmerly_jobs)" "${targets[@]}"
}

# Warnings in project code fail the build of every tree the scripts make;
# scripts/run and scripts/test share the trees, so they share the options too
# (different options would rebuild the whole tree on every switch).
GLIMMERLY_COMMON_OPTIONS=(-DGLIMMERLY_WERROR=ON)

# glimmerly_build_windows [targets...]
glimmerly_build_windows() {
    glimmerly_configure win "${GLIMMERLY_COMMON_OPTIONS[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$GLIMMERLY_ROOT/cmake/mingw-w64-posix.cmake" &&
        glimmerly_compile win "$@"
}

glimmerly_build_host() {
    glimmerly_configure host "${GLIMMERLY_COMMON_OPTIONS[@]}" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc &&
        glimmerly_compile host "$@"
}

# Benchmarks: optimised, without sanitizers, so that their figures mean something.
glimmerly_build_bench() {
    glimmerly_configure bench "${GLIMMERLY_COMMON_OPTIONS[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc \
        -DGLIMMERLY_SANITIZE=OFF -DGLIMMERLY_TESTS=OFF -DGLIMMERLY_BENCH=ON &&
        glimmerly_compile bench "$@"
}

# libFuzzer targets of the stored-format readers: clang, with the fuzz
# build's own sanitizer flags instead of the tree-wide ones.
glimmerly_build_fuzz() {
    CC=clang CXX=clang++ glimmerly_configure fuzz "${GLIMMERLY_COMMON_OPTIONS[@]}" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DGLIMMERLY_SANITIZE=OFF -DGLIMMERLY_TESTS=OFF -DGLIMMERLY_FUZZ=ON &&
        glimmerly_compile fuzz "$@"
}

# Starts a virtual X display for Wine's windows; sets DISPLAY and
# GLIMMERLY_XVFB_PID, or says why not and fails. Xvfb picks a free display
# number itself and writes it once it accepts connections (-displayfd), so
# runs side by side on one machine never share or race for a display.
glimmerly_start_xvfb() {
    local out n= i
    out=$(mktemp) || return 1
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$out" >"$out.log" 2>&1 &
    GLIMMERLY_XVFB_PID=$!
    for i in $(seq 1 300); do
        # read fails until the whole line, newline included, is there.
        read -r n <"$out" && break
        n=
        kill -0 "$GLIMMERLY_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$n" ]; then
        echo "The virtual display did not start (Xvfb):" >&2
        tail -n 20 "$out.log" >&2
        glimmerly_stop_xvfb
        rm -f "$out" "$out.log"
        return 1
    fi
    rm -f "$out" "$out.log"
    export DISPLAY=":$n"
}

glimmerly_stop_xvfb() {
    if [ -n "${GLIMMERLY_XVFB_PID:-}" ]; then
        kill "$GLIMMERLY_XVFB_PID" 2>/dev/null
        wait "$GLIMMERLY_XVFB_PID" 2>/dev/null
    fi
    GLIMMERLY_XVFB_PID=
}

# Makes the private Wine prefix of a tree once, so that the first test does
# not pay for it (and cannot time out on it).
glimmerly_wine_prefix() {
    local prefix="$1" changed=
    if [ ! -f "$prefix/system.reg" ]; then
        changed=1
        mkdir -p "$prefix"
        WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    fi
    # With no window manager on the virtual display, Wine would wait two
    # seconds for one whenever a full-screen window hides; and a crashing
    # test would wait for its crash window to be closed until ctest's timeout.
    if ! grep -q '"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
        changed=1
        WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >/dev/null 2>&1 || true
    fi
    if ! grep -q '"ShowCrashDialog"=dword:00000000' "$prefix/user.reg" 2>/dev/null; then
        changed=1
        WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
            /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    fi
    # Only what these steps started is waited for: programs the user runs in
    # the same prefix keep its server alive for as long as they run.
    if [ -n "$changed" ]; then
        WINEPREFIX="$prefix" timeout 60 wineserver -w 2>/dev/null || true
    fi
}
