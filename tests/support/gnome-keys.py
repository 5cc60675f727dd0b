#!/usr/bin/python3
"""The keyboard of a GNOME session for tests: keys typed as a keyboard would, through the
compositor's remote desktop (org.gnome.Mutter.RemoteDesktop), to GNOME Shell itself and to the
focused window, XWayland's included. One remote-desktop session serves the whole test: its
keyboard is new to XWayland, which takes a while to bind it, and keys sent before then reach
GNOME Shell but no X window.
Usage: gnome-keys.py FIFO   then each line written to FIFO names keys to tap in turn
       (Escape, Return, Tab, Right, a)."""
import os
import sys
import time

from gi.repository import Gio, GLib

KEYSYMS = {"Escape": 0xFF1B, "Return": 0xFF0D, "Tab": 0xFF09, "Right": 0xFF53, "a": 0x61}
SERVICE = "org.gnome.Mutter.RemoteDesktop"
SESSION = SERVICE + ".Session"

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync(SERVICE, path, interface, method, args,
                         GLib.VariantType(reply) if reply else None, 0, 5000, None)


session = call("/org/gnome/Mutter/RemoteDesktop", SERVICE, "CreateSession", None, "(o)")[0]
call(session, SESSION, "Start")
fifo = sys.argv[1]
os.mkfifo(fifo)
while True:
    with open(fifo, encoding="ascii") as lines:
        for line in lines:
            for name in line.split():
                for pressed in (True, False):
                    call(session, SESSION, "NotifyKeyboardKeysym",
                         GLib.Variant("(ub)", (KEYSYMS[name], pressed)))
                    time.sleep(0.02)
