"""The X display as the bench scripts watch it: Xlib (and XInput 2 for raw
key presses) by ctypes, with the root window's substructure events selected,
so that a window of Wine's is seen the moment the display maps or unmaps it."""

import ctypes
import select
import sys
import time

MAP_NOTIFY, UNMAP_NOTIFY, GENERIC_EVENT = 19, 18, 35
SUBSTRUCTURE_NOTIFY = 1 << 19
XI_ALL_MASTER_DEVICES, XI_RAW_KEY_PRESS = 1, 13

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
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
x11.XSetErrorHandler(_ERROR_HANDLER)


class _XIEventMask(ctypes.Structure):
    _fields_ = [("deviceid", ctypes.c_int), ("mask_len", ctypes.c_int), ("mask", ctypes.POINTER(ctypes.c_ubyte))]


class Display:
    def __init__(self, raw_keys=False):
        self.dpy = x11.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("no X display")
        self.size = (x11.XDisplayWidth(self.dpy, 0), x11.XDisplayHeight(self.dpy, 0))
        root = x11.XDefaultRootWindow(self.dpy)
        x11.XSelectInput(self.dpy, root, SUBSTRUCTURE_NOTIFY)
        if raw_keys:
            xi = ctypes.cdll.LoadLibrary("libXi.so.6")
            xi.XIQueryVersion.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p]
            xi.XISelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int]
            major, minor = ctypes.c_int(2), ctypes.c_int(0)
            if xi.XIQueryVersion(self.dpy, ctypes.byref(major), ctypes.byref(minor)) != 0:
                sys.exit("the display has no XInput 2")
            bits = (ctypes.c_ubyte * 4)()
            bits[XI_RAW_KEY_PRESS >> 3] |= 1 << (XI_RAW_KEY_PRESS & 7)
            mask = _XIEventMask(XI_ALL_MASTER_DEVICES, 4, bits)
            xi.XISelectEvents(self.dpy, root, ctypes.byref(mask), 1)
        x11.XSync(self.dpy, 0)
        self.fd = x11.XConnectionNumber(self.dpy)
        self.event = ctypes.create_string_buffer(192)

    def drain(self):
        x11.XSync(self.dpy, 0)
        while x11.XPending(self.dpy):
            x11.XNextEvent(self.dpy, self.event)

    def geometry(self, window):
        """(x, y, width, height) of the window, or None once it is gone."""
        root = ctypes.c_ulong()
        values = [ctypes.c_int() for _ in range(2)] + [ctypes.c_uint() for _ in range(4)]
        if not x11.XGetGeometry(self.dpy, window, ctypes.byref(root), *[ctypes.byref(v) for v in values]):
            return None
        return tuple(v.value for v in values[:4])

    def full_screen(self, window):
        found = self.geometry(window)
        return found is not None and found[2:] == self.size

    def _events(self, deadline):
        """The display's events as (time seen, kind, window) until the deadline."""
        while True:
            while x11.XPending(self.dpy):
                x11.XNextEvent(self.dpy, self.event)
                kind = int.from_bytes(self.event.raw[0:4], "little")
                if kind == GENERIC_EVENT:
                    kind = (GENERIC_EVENT, int.from_bytes(self.event.raw[36:40], "little"))
                yield time.monotonic(), kind, int.from_bytes(self.event.raw[40:48], "little")
            left = deadline - time.monotonic()
            if left <= 0:
                return
            select.select([self.fd], [], [], left)

    def wait_for(self, kind, accept, timeout):
        """The moment the next event of that kind comes for a window the test
        accepts, and the window; (None, None) when none comes in time."""
        for seen, event_kind, window in self._events(time.monotonic() + timeout):
            if event_kind == kind and accept(window):
                return seen, window
        return None, None

    def wait_for_full_screen_map(self, timeout):
        return self.wait_for(MAP_NOTIFY, self.full_screen, timeout)

    def time_key_to_map(self, timeout):
        """From the next raw key press to the next full-screen window's map,
        and that window; (None, None) when none maps in time. Needs raw_keys."""
        pressed = None
        for seen, kind, window in self._events(time.monotonic() + timeout):
            if kind == (GENERIC_EVENT, XI_RAW_KEY_PRESS):
                pressed = pressed or seen
            elif kind == MAP_NOTIFY and pressed and self.full_screen(window):
                return seen - pressed, window
        return None, None

    def wait_for_focus(self, window, timeout):
        """Whether the display's input focus comes to the window in time. Wine
        gives a window just shown the focus only after its first paint, and a
        key typed before lands on the window that had it."""
        deadline = time.monotonic() + timeout
        focused, revert = ctypes.c_ulong(0), ctypes.c_int(0)
        while True:
            x11.XGetInputFocus(self.dpy, ctypes.byref(focused), ctypes.byref(revert))
            if focused.value == window:
                return True
            if time.monotonic() >= deadline:
                return False
            # Focus events go only to clients that asked for them on the
            # window itself: asked again every millisecond instead.
            time.sleep(0.001)
