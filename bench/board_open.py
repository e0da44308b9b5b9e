"""The timing loop of bench/board_open.sh. The clock runs from the start of
"glimmerly.exe --board" to the display's map notification of a full-screen
window (Xlib by ctypes), and from the Escape key typed with xdotool to the
process's end. The first run draws the 20 notes with xdotool, so that the
page names the monitor as the program does. Run by the script, which sets
up the display and the prefix."""

import ctypes
import glob
import os
import select
import statistics
import subprocess
import sys
import time

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
MAP_NOTIFY, SUBSTRUCTURE_NOTIFY = 19, 1 << 19

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XGetInputFocus.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int)]

# A window of Wine's may be gone before its geometry is read: not fatal.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
x11.XSetErrorHandler(ERROR_HANDLER)
dpy = x11.XOpenDisplay(None)
if not dpy:
    sys.exit("no X display")
SIZE = (x11.XDisplayWidth(dpy, 0), x11.XDisplayHeight(dpy, 0))
x11.XSelectInput(dpy, x11.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY)
x11.XSync(dpy, 0)
FD = x11.XConnectionNumber(dpy)
EVENT = ctypes.create_string_buffer(192)


def drain():
    x11.XSync(dpy, 0)
    while x11.XPending(dpy):
        x11.XNextEvent(dpy, EVENT)


def full_screen(window):
    values = [ctypes.c_uint(0) for _ in range(7)]
    if not x11.XGetGeometry(dpy, window, *[ctypes.byref(v) for v in values]):
        return False
    return (values[3].value, values[4].value) == SIZE


def wait_for_map(timeout=60):
    deadline = time.monotonic() + timeout
    while True:
        while x11.XPending(dpy):
            x11.XNextEvent(dpy, EVENT)
            if int.from_bytes(EVENT.raw[0:4], "little") == MAP_NOTIFY:
                window = int.from_bytes(EVENT.raw[40:48], "little")
                if full_screen(window):
                    return time.monotonic(), window
        left = deadline - time.monotonic()
        if left <= 0:
            sys.exit("the board's window never mapped")
        select.select([FD], [], [], left)


def wait_for_focus(window, timeout=30):
    """Wine gives a window just shown the focus only after its first paint."""
    deadline = time.monotonic() + timeout
    focused, revert = ctypes.c_ulong(0), ctypes.c_int(0)
    while time.monotonic() < deadline:
        x11.XGetInputFocus(dpy, ctypes.byref(focused), ctypes.byref(revert))
        if focused.value == window:
            return True
        time.sleep(0.001)
    return False


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def open_board():
    drain()
    start = time.monotonic()
    process = subprocess.Popen(WINE_EXEC + [PROGRAM, "--board"])
    mapped, window = wait_for_map()
    if not wait_for_focus(window):
        print("the board's window never got the input focus", file=sys.stderr)
    return process, (mapped - start) * 1000


def leave(process):
    start = time.monotonic()
    xdotool("key", "Escape")
    if process.wait(timeout=60) != 0:
        sys.exit("the board process failed")
    return (time.monotonic() - start) * 1000


def board_folder():
    found = glob.glob(os.path.join(PREFIX, "drive_c/users/*/AppData/Local/Glimmerly"))
    return os.path.join(found[0], "board") if found else None


def main():
    folder = board_folder()
    if folder:
        for name in glob.glob(os.path.join(folder, "*")):
            os.remove(name)
    process, _ = open_board()
    xdotool("key", "r")
    for i in range(20):
        x, y = 100 + (i % 5) * 340, 100 + (i // 5) * 220
        xdotool("mousemove", x, y, "mousedown", 1, "mousemove", x + 150, y + 100, "mousemove", x + 300, y + 180,
                "mouseup", 1)
    leave(process)
    with open(os.path.join(board_folder(), "page-1.txt"), encoding="utf-8") as f:
        notes = f.read().count("rectangle")
    opened, left = [], []
    for _ in range(RUNS):
        process, elapsed = open_board()
        opened.append(elapsed)
        left.append(leave(process))
    print(f"display {SIZE[0]} x {SIZE[1]}, {notes} notes on the page, {RUNS} runs, milliseconds")
    print(f"--board to window mapped: median {statistics.median(opened):.1f}  min {min(opened):.1f}  max {max(opened):.1f}")
    print(f"Escape to process end:    median {statistics.median(left):.1f}  min {min(left):.1f}  max {max(left):.1f}")


main()
