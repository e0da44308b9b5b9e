# Shared by scripts/test and scripts/run: installs what the build needs on a
# Debian 12 machine and configures and builds the trees. Sourced, not run.

GLIMMERLY_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
GLIMMERLY_PACKAGES="cmake ninja-build g++ clang python3 ccache googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils fonts-roboto-unhinted pngcheck"

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

glimmerly_jobs() { nproc 2>/dev/null || echo 2; }

# glimmerly_build TREE [cmake options...]
glimmerly_build() {
    local tree="$1"; shift
    local dir="$GLIMMERLY_ROOT/build/$tree"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$GLIMMERLY_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    fi
    cmake --build "$dir" -j "$(glimmerly_jobs)"
}

glimmerly_build_windows() {
    glimmerly_build win -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$GLIMMERLY_ROOT/cmake/mingw-w64-posix.cmake"
}

glimmerly_build_host() {
    glimmerly_build host -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc
}

# Benchmarks: optimised, without sanitizers, so that their figures mean something.
glimmerly_build_bench() {
    glimmerly_build bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc \
        -DGLIMMERLY_SANITIZE=OFF -DGLIMMERLY_TESTS=OFF -DGLIMMERLY_BENCH=ON
}

# libFuzzer targets of the stored-format readers: clang, with the fuzz
# build's own sanitizer flags instead of the tree-wide ones.
glimmerly_build_fuzz() {
    CC=clang CXX=clang++ glimmerly_build fuzz -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DGLIMMERLY_SANITIZE=OFF -DGLIMMERLY_TESTS=OFF -DGLIMMERLY_FUZZ=ON
}

# Starts a virtual X display for Wine's windows unless one is given; sets
# DISPLAY and GLIMMERLY_XVFB_PID.
glimmerly_start_xvfb() {
    local n
    for n in $(seq 90 160); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    GLIMMERLY_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    export DISPLAY=":$n"
}

glimmerly_stop_xvfb() {
    [ -n "${GLIMMERLY_XVFB_PID:-}" ] && kill "$GLIMMERLY_XVFB_PID" 2>/dev/null
    GLIMMERLY_XVFB_PID=
}

# Makes the private Wine prefix of a tree once, so that the first test does
# not pay for it (and cannot time out on it).
glimmerly_wine_prefix() {
    local prefix="$1"
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    fi
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
}
