#!/usr/bin/python3
"""A desktop portal that refuses every screenshot, as a portal does when the user or the
desktop's permission says no: it answers each request with response 2. Owns
org.freedesktop.portal.Desktop on the session bus until killed; once it does, it prints
"ready". Usage: refusing-portal.py"""
from gi.repository import Gio, GLib

INTERFACE = """
<node>
  <interface name="org.freedesktop.portal.Screenshot">
    <method name="Screenshot">
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="handle" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""


def on_call(connection, sender, _path, _interface, _method, parameters, invocation):
    token = parameters.unpack()[1].get("handle_token", "t")
    handle = "/org/freedesktop/portal/desktop/request/%s/%s" % (
        sender[1:].replace(".", "_"), token)
    invocation.return_value(GLib.Variant("(o)", (handle,)))
    connection.emit_signal(sender, handle, "org.freedesktop.portal.Request", "Response",
                           GLib.Variant("(ua{sv})", (2, {})))


def on_property(*_args):
    return GLib.Variant("u", 2)


def on_bus(connection, _name):
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
    connection.register_object("/org/freedesktop/portal/desktop", info, on_call, on_property,
                               None)


def on_name(_connection, _name):
    print("ready", flush=True)


Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.portal.Desktop",
                 Gio.BusNameOwnerFlags.NONE, on_bus, on_name, None)
GLib.MainLoop().run()
