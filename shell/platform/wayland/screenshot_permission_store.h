#pragma once
// The answer the user gave the desktop about screenshots without a dialog, as the portals'
// permission store (org.freedesktop.impl.portal.PermissionStore) keeps it for programs that
// run outside a sandbox.
#include "shell/core/screenshot_permission.h"

namespace quorlane {

StoredScreenshotPermission lookUpScreenshotPermission();

// Forgets a stored no, so that the desktop asks the user again: for the settings dialog, when
// the user has just chosen the desktop picture. False when it could not be forgotten.
bool forgetScreenshotRefusal();

}  // namespace quorlane
