# Sourced. GNOME's stored answer to "may programs take screenshots without asking?", as the
# portals' permission store keeps it for programs outside a sandbox, in a GNOME session.
permission_store() {
  gdbus call --timeout 10 --session --dest org.freedesktop.impl.portal.PermissionStore \
    --object-path /org/freedesktop/impl/portal/PermissionStore \
    --method "org.freedesktop.impl.portal.PermissionStore.$1" "${@:2}"
}
allow_screenshots() { permission_store SetPermission screenshot true screenshot "" "['yes']" >/dev/null; }
forget_screenshots() { permission_store DeletePermission screenshot screenshot "" >/dev/null 2>&1 || true; }
allowed_screenshots() { [ "$(permission_store Lookup screenshot screenshot 2>/dev/null)" = "({'': ['yes']}, <byte 0x00>)" ]; }
