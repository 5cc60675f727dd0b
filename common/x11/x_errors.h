#pragma once
// X errors a client of ours must live through: windows come and go while it looks at them, and
// Xlib's default handler ends the process on the first BadWindow. Error handlers are per process.
typedef struct _XDisplay Display;

namespace quorlane {

// From now on, for the rest of the process, no X error ends it.
void ignoreXErrorsFromNowOn();

// While it lives no X error ends the process; when it goes it waits for the requests made
// meanwhile (so their errors are ignored too) and gives the previous handler back.
class XErrorsIgnored {
public:
    explicit XErrorsIgnored(Display* display);
    ~XErrorsIgnored();
    XErrorsIgnored(const XErrorsIgnored&) = delete;
    XErrorsIgnored& operator=(const XErrorsIgnored&) = delete;

private:
    Display* display_;
    void (*previous_)();  // the handler to give back, as Xlib's handler type
};

}  // namespace quorlane
