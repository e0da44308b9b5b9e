"""The timing loop of bench/document_open.sh: starts the program with an
editable document named on its command line, as a double-click does, and
waits for the editor's window to map. The clock runs from the moment the
process is started (with Wine's server already running, as it is on a
desktop where other programs run) to the map notification of the display.
The window is closed with Escape typed by xdotool. Run by the script, which
sets up the display and the prefix."""

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
HELPER = os.path.join(ROOT, "build/win/bench/windows/document_bench_helper.exe")
DOCUMENT = os.path.join(ROOT, "build/win/bench-document.vexil")

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


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Display:
    def __init__(self):
        self.dpy = x11.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("no X display")
        self.size = (x11.XDisplayWidth(self.dpy, 0), x11.XDisplayHeight(self.dpy, 0))
        x11.XSelectInput(self.dpy, x11.XDefaultRootWindow(self.dpy), SUBSTRUCTURE_NOTIFY)
        x11.XSync(self.dpy, 0)
        self.fd = x11.XConnectionNumber(self.dpy)
        self.event = ctypes.create_string_buffer(192)

    def drain(self):
        x11.XSync(self.dpy, 0)
        while x11.XPending(self.dpy):
            x11.XNextEvent(self.dpy, self.event)

    def full_screen(self, window):
        values = [ctypes.c_uint(0) for _ in range(7)]
        x11.XGetGeometry(self.dpy, window, *[ctypes.byref(v) for v in values])
        return (values[3].value, values[4].value) == self.size

    def wait_for_full_screen_map(self, timeout):
        """The moment the next full-screen window maps, and that window."""
        deadline = time.monotonic() + timeout
        while True:
            while x11.XPending(self.dpy):
                x11.XNextEvent(self.dpy, self.event)
                now = time.monotonic()
                kind = int.from_bytes(self.event.raw[0:4], "little")
                window = int.from_bytes(self.event.raw[40:48], "little")
                if kind == MAP_NOTIFY and self.full_screen(window):
                    return now, window
            left = deadline - time.monotonic()
            if left <= 0:
                return None, None
            select.select([self.fd], [], [], left)

    def wait_for_focus(self, window, timeout):
        deadline = time.monotonic() + timeout
        focused, revert = ctypes.c_ulong(0), ctypes.c_int(0)
        while time.monotonic() < deadline:
            x11.XGetInputFocus(self.dpy, ctypes.byref(focused), ctypes.byref(revert))
            if focused.value == window:
                return True
            time.sleep(0.001)
        return False


def open_once(display):
    display.drain()
    started = time.monotonic()
    program = subprocess.Popen(WINE_EXEC + [PROGRAM, windows_path(DOCUMENT)])
    mapped, window = display.wait_for_full_screen_map(60)
    if mapped is None:
        program.kill()
        sys.exit("the editor's window never mapped")
    if not display.wait_for_focus(window, 30):
        print("the editor's window never got the input focus", file=sys.stderr)
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    if program.wait(timeout=60) != 0:
        sys.exit("the document editor did not end with exit code 0")
    return (mapped - started) * 1000


def main():
    out = subprocess.run(WINE_EXEC + [HELPER, windows_path(DOCUMENT)], capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        sys.exit(f"document_bench_helper failed: {out.stderr.strip()}")
    display = Display()
    # Focus follows the pointer on a display without a window manager.
    subprocess.run(["xdotool", "mousemove", str(display.size[0] // 2), str(display.size[1] // 2)], check=True)
    open_once(display)  # Wine's server and the program's pages warm, as on a desktop in use
    times = [open_once(display) for _ in range(RUNS)]
    print(f"display {display.size[0]} x {display.size[1]}, {os.path.getsize(DOCUMENT)} byte document, {RUNS} runs")
    print(f"process start to editor window mapped: median {statistics.median(times):.1f} ms  "
          f"min {min(times):.1f}  max {max(times):.1f}")


main()
