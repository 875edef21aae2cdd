#!/usr/bin/env python3
"""Counts the updates that reach an X screen, from outside the program that draws them.

    count_frames.py <seconds>

Uses the X DAMAGE extension on the root window through ctypes (libX11 and libXdamage,
no development headers needed): each time something was drawn since the last look, the
damage is taken away and one update counted. A program that copies one whole frame per
timer tick to its window shows up as one update per frame, so this counts frames without
touching the program. Prints "updates <n> seconds <s> per_second <r>".
"""
import ctypes
import ctypes.util
import select
import sys
import time


class XDamageNotifyEvent(ctypes.Structure):
    # Only the leading fields matter; the union below gives XEvent its full size.
    _fields_ = [("type", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


def load(name):
    path = ctypes.util.find_library(name)
    if not path:
        raise SystemExit(f"count_frames: lib{name} not found")
    return ctypes.CDLL(path)


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: count_frames.py <seconds>")
    seconds = float(sys.argv[1])

    x11 = load("X11")
    damage = load("Xdamage")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
    x11.XPending.argtypes = [ctypes.c_void_p]
    x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    damage.XDamageQueryExtension.argtypes = [
        ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    damage.XDamageCreate.restype = ctypes.c_ulong
    damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
    damage.XDamageSubtract.argtypes = [
        ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]

    display = x11.XOpenDisplay(None)
    if not display:
        raise SystemExit("count_frames: cannot open the display")
    event_base, error_base = ctypes.c_int(), ctypes.c_int()
    if not damage.XDamageQueryExtension(display, ctypes.byref(event_base),
                                        ctypes.byref(error_base)):
        raise SystemExit("count_frames: the X server has no DAMAGE extension")
    notify = event_base.value  # XDamageNotify is the extension's first event
    report_non_empty = 3       # XDamageReportNonEmpty: one event until the damage is taken
    root = x11.XDefaultRootWindow(display)
    handle = damage.XDamageCreate(display, root, report_non_empty)
    x11.XFlush(display)

    connection = x11.XConnectionNumber(display)
    event = XEvent()
    updates = 0
    start = time.monotonic()
    end = start + seconds
    while True:
        left = end - time.monotonic()
        if left <= 0:
            break
        if not x11.XPending(display):
            select.select([connection], [], [], min(left, 0.1))
            continue
        x11.XNextEvent(display, ctypes.byref(event))
        if event.type == notify:
            updates += 1
            damage.XDamageSubtract(display, handle, 0, 0)
            x11.XFlush(display)
    elapsed = time.monotonic() - start
    print(f"updates {updates} seconds {elapsed:.2f} per_second {updates / elapsed:.1f}")


if __name__ == "__main__":
    main()
