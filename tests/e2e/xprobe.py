"""What the X server can tell about the game's hold on the pointer: whether some
client holds an active pointer grab, and whether the cursor shown is blank; and a
window of another client to move the keyboard focus to, as alt-tab would."""
import ctypes
import ctypes.util
import os

_x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
_xfixes = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")

_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint, ctypes.c_int,
                              ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
_x11.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XCreateSimpleWindow.restype = ctypes.c_ulong
_x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
_x11.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
_x11.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]

GRAB_SUCCESS = 0
GRAB_MODE_ASYNC = 1
CURRENT_TIME = 0


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


_xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
_xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]


class Display:
    def __init__(self):
        self.dpy = _x11.XOpenDisplay(os.environ["DISPLAY"].encode())
        if not self.dpy:
            raise AssertionError("cannot open display " + os.environ["DISPLAY"])
        self.root = _x11.XDefaultRootWindow(self.dpy)

    def pointer_grabbed(self):
        """True when another client holds an active pointer grab: ours then fails."""
        result = _x11.XGrabPointer(self.dpy, self.root, 0, 0, GRAB_MODE_ASYNC, GRAB_MODE_ASYNC, 0, 0,
                                   CURRENT_TIME)
        if result == GRAB_SUCCESS:
            _x11.XUngrabPointer(self.dpy, CURRENT_TIME)
        _x11.XSync(self.dpy, 0)
        return result != GRAB_SUCCESS

    def cursor_blank(self):
        """True when the cursor now shown has no visible pixel."""
        image = _xfixes.XFixesGetCursorImage(self.dpy)
        if not image:
            raise AssertionError("no cursor image")
        c = image.contents
        blank = all((c.pixels[i] >> 24) & 0xFF == 0 for i in range(c.width * c.height))
        _x11.XFree(image)
        return blank

    def other_window(self, title="another program"):
        """Maps a small window of this client at the top left, raised; returns its id
        (as xdotool writes window ids). It lives until destroy_window or close."""
        window = _x11.XCreateSimpleWindow(self.dpy, self.root, 0, 0, 200, 120, 0, 0, 0xFFFFFF)
        _x11.XStoreName(self.dpy, window, title.encode())
        _x11.XMapRaised(self.dpy, window)
        _x11.XSync(self.dpy, 0)
        return str(window)

    def destroy_window(self, window):
        _x11.XDestroyWindow(self.dpy, int(window))
        _x11.XSync(self.dpy, 0)

    def close(self):
        _x11.XCloseDisplay(self.dpy)
