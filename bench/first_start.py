"""The timing loop of bench/first_start.sh: a first start, timed from the
display's side. Each run removes the settings, starts glimmerly.exe and
waits until the display maps the setup window (not full screen, not the
system tray), then clicks its Save button and waits until the display
unmaps it: from the click to the unmap is the commit of the proposed Print
Screen, which needs no retry since the program already holds the key. The
resident is then ended for the next run; the Wine server stays up. Run by the script."""

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
MAP_NOTIFY, UNMAP_NOTIFY, SUBSTRUCTURE_NOTIFY = 19, 18, 1 << 19

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


class Event(ctypes.Structure):
    # type, serial, send_event, display, event, window: enough of XMapEvent and XUnmapEvent.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("pad", ctypes.c_long * 24)]


# A window that went before it was looked at is no error of the run.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, error: 0)
x11.XSetErrorHandler(ERROR_HANDLER)
dpy = x11.XOpenDisplay(None)
if not dpy:
    sys.exit("no X display")
x11.XSelectInput(dpy, x11.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY)
fd = x11.XConnectionNumber(dpy)


def geometry(window):
    values = [ctypes.c_int() for _ in range(2)] + [ctypes.c_uint() for _ in range(4)]
    root = ctypes.c_ulong()
    if not x11.XGetGeometry(dpy, window, ctypes.byref(root), *[ctypes.byref(v) for v in values]):
        return 0, 0, 0, 0
    return values[0].value, values[1].value, values[2].value, values[3].value


def wait_for(kind, accept, timeout=20.0):
    deadline = time.monotonic() + timeout
    event = Event()
    while time.monotonic() < deadline:
        while x11.XPending(dpy):
            x11.XNextEvent(dpy, ctypes.byref(event))
            if event.type == kind and accept(event.window):
                return time.monotonic(), event.window
        select.select([fd], [], [], 0.05)
    sys.exit("timed out")


def dialog(window):
    x, y, w, h = geometry(window)
    return 400 <= w <= 900 and 200 <= h <= 600


def run_once():
    for path in glob.glob(os.path.join(PREFIX, "drive_c/users/*/AppData/Local/Glimmerly/settings.txt")):
        os.remove(path)
    started = time.monotonic()
    process = subprocess.Popen(WINE_EXEC + [PROGRAM], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped, window = wait_for(MAP_NOTIFY, dialog)
    x, y, w, h = geometry(window)
    time.sleep(0.5)  # the dialog painted and holding Print Screen; not timed
    # Save's middle: (356, 212) of the 420 x 248 design, below the frame's caption.
    caption = h - 248 * w // 420 if w >= 420 else 0
    subprocess.run(["xdotool", "mousemove", str(x + 356 * w // 420), str(y + caption + 212 * (h - caption) // 248)])
    clicked = time.monotonic()
    subprocess.run(["xdotool", "click", "1"])
    unmapped, _ = wait_for(UNMAP_NOTIFY, lambda win: win == window)
    subprocess.run(WINE_EXEC + ["taskkill", "/f", "/im", "glimmerly.exe"], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    process.wait()
    time.sleep(0.5)
    return (mapped - started) * 1000, (unmapped - clicked) * 1000


# A server kept running, as it is on a machine where Wine already runs: the
# figure is the program's start, not the server's.
subprocess.run(["env", "WINEPREFIX=" + PREFIX, "wineserver", "-p"])
starts, commits = [], []
for _ in range(RUNS):
    start, commit = run_once()
    starts.append(start)
    commits.append(commit)
print(f"process start to setup window mapped: median {statistics.median(starts):.0f} ms "
      f"(min {min(starts):.0f}, max {max(starts):.0f}, {RUNS} runs)")
print(f"Save clicked to setup window unmapped: median {statistics.median(commits):.0f} ms "
      f"(min {min(commits):.0f}, max {max(commits):.0f}) - includes xdotool's click")
