#pragma once
// Parts of the shell that need large libraries (Qt for the dialog and the preview, SDL and
// libcdio for music) are built as shared objects and carried inside Quorlane.scr, so that a
// show, which needs none of them, starts without loading them, and the program stays one
// file. A part is loaded from its bytes the first time it is needed, and stays loaded.
#include <span>
#include <string>

namespace quorlane {

class EmbeddedModule {
public:
    // Loads the shared object held in `bytes` under `name`, and finds its `entry` symbol.
    // A loaded part holds one descriptor for the rest of the process. On failure, the result
    // is empty, nothing is held, and `error` says why in one line.
    static EmbeddedModule load(std::span<const unsigned char> bytes, const char* name,
                               const char* entry, std::string& error);

    explicit operator bool() const { return entry_ != nullptr; }
    // The entry symbol's address.
    void* entry() const { return entry_; }

private:
    void* entry_ = nullptr;
};

}  // namespace quorlane
