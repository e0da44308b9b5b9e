"""The timing loop of bench/settings_open.sh. settings_bench.exe (drive)
posts command 170 to the resident when asked; the clock runs from the
request to the display's map notification of the settings window (Xlib by
ctypes). Run by the script, which sets up the display and the prefix."""

import ctypes
import os
import select
import statistics
import subprocess
import sys
import time

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
HELPER = os.path.join(ROOT, "build/win/bench/windows/settings_bench.exe")
MAP_NOTIFY, SUBSTRUCTURE_NOTIFY = 19, 1 << 19

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7

# A window of Wine's may be gone before its geometry is read: not fatal.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
x11.XSetErrorHandler(ERROR_HANDLER)

dpy = x11.XOpenDisplay(None)
if not dpy:
    sys.exit("no X display")
x11.XSelectInput(dpy, x11.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY)
x11.XSync(dpy, 0)
FD = x11.XConnectionNumber(dpy)
EVENT = ctypes.create_string_buffer(192)


def drain():
    x11.XSync(dpy, 0)
    while x11.XPending(dpy):
        x11.XNextEvent(dpy, EVENT)


def settings_sized(window):
    """The settings window is a few hundred pixels each way; the resident's
    other windows (notices, its hidden window) are not."""
    values = [ctypes.c_uint(0) for _ in range(7)]
    if not x11.XGetGeometry(dpy, window, *[ctypes.byref(v) for v in values]):
        return False
    return values[3].value >= 400 and values[4].value >= 300


def wait_for_map(timeout=60):
    deadline = time.monotonic() + timeout
    while True:
        while x11.XPending(dpy):
            x11.XNextEvent(dpy, EVENT)
            if int.from_bytes(EVENT.raw[0:4], "little") == MAP_NOTIFY:
                if settings_sized(int.from_bytes(EVENT.raw[40:48], "little")):
                    return time.monotonic()
        left = deadline - time.monotonic()
        if left <= 0:
            sys.exit("the settings window never mapped")
        select.select([FD], [], [], left)


helper = subprocess.Popen(WINE_EXEC + [HELPER, "drive"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)


def ask(command):
    helper.stdin.write(command + "\n")
    helper.stdin.flush()
    answer = helper.stdout.readline().strip()
    if answer != "done":
        sys.exit(f"{command}: {answer or 'no answer'}")


def main():
    ask("settings")
    resident = subprocess.Popen(WINE_EXEC + [PROGRAM])
    ask("wait")
    times = []
    for _ in range(RUNS):
        drain()
        start = time.monotonic()
        ask("open")
        times.append((wait_for_map() - start) * 1000)
        ask("close")
    print(f"{RUNS} runs, milliseconds")
    print(f"command 170 to the settings window mapped: median {statistics.median(times):.1f}  "
          f"min {min(times):.1f}  max {max(times):.1f}")
    ask("quit")
    resident.wait(timeout=60)
    helper.stdin.close()
    helper.wait(timeout=60)


main()
