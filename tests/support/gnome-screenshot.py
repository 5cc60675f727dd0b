#!/usr/bin/python3
"""Takes a screenshot of the whole GNOME session through the desktop portal, without a dialog
(the permission must be stored), and moves the picture to FILE. Exit 1 when the portal refuses
or does not answer. Usage: gnome-screenshot.py FILE"""
import os
import shutil
import sys
from urllib.parse import unquote, urlparse

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
token = "check%d" % os.getpid()
sender = bus.get_unique_name()[1:].replace(".", "_")
handle = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender, token)
loop = GLib.MainLoop()
answer = {}


def on_response(_bus, _sender, _path, _interface, _signal, parameters):
    code, results = parameters.unpack()
    answer["code"] = code
    answer["uri"] = results.get("uri", "")
    loop.quit()


bus.signal_subscribe("org.freedesktop.portal.Desktop", "org.freedesktop.portal.Request",
                     "Response", handle, None, Gio.DBusSignalFlags.NONE, on_response)
bus.call_sync("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
              "org.freedesktop.portal.Screenshot", "Screenshot",
              GLib.Variant("(sa{sv})", ("", {"handle_token": GLib.Variant("s", token),
                                             "interactive": GLib.Variant("b", False)})),
              None, 0, 10000, None)
GLib.timeout_add_seconds(10, loop.quit)
loop.run()
if answer.get("code") != 0:
    sys.exit("gnome-screenshot: the portal answered %s" % answer.get("code", "nothing"))
shutil.move(unquote(urlparse(answer["uri"]).path), sys.argv[1])
