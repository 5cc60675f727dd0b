#include "shell/platform/x11/show_claim.h"

#include <X11/Xlib.h>

namespace quorlane {

bool claimDisplay(Display* display) {
    if (display == nullptr) return false;
    const Atom selection = XInternAtom(display, "QUORLANE_SHOW", False);
    const Window root = DefaultRootWindow(display);
    XSetWindowAttributes none{};
    const Window owner = XCreateWindow(display, root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                       CopyFromParent, 0, &none);
    XGrabServer(display);
    const bool free = XGetSelectionOwner(display, selection) == None;
    if (free) XSetSelectionOwner(display, selection, owner, CurrentTime);
    XUngrabServer(display);
    const bool won = free && XGetSelectionOwner(display, selection) == owner;
    if (!won) XDestroyWindow(display, owner);
    XSync(display, False);
    return won;
}

}  // namespace quorlane
