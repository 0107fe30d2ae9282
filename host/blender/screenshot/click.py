# Clicks the left mouse button at screen points through the X test extension: the picture of
# Blender's window needs its splash closed and the add-on's sidebar tab chosen, which only a
# click does. Usage: click.py X,Y [X,Y ...] (one click per point, half a second apart).
import ctypes
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtest = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
for point in sys.argv[1:]:
    x, y = (int(v) for v in point.split(","))
    xtest.XTestFakeMotionEvent(ctypes.c_void_p(display), -1, x, y, 0)
    x11.XFlush(ctypes.c_void_p(display))
    time.sleep(0.2)
    for down in (1, 0):
        xtest.XTestFakeButtonEvent(ctypes.c_void_p(display), 1, down, 0)
        x11.XFlush(ctypes.c_void_p(display))
        time.sleep(0.1)
    time.sleep(0.5)
x11.XCloseDisplay(ctypes.c_void_p(display))
