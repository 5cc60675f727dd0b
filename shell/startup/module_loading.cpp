// Quorlane.scr's own copies of its parts (shell_modules.h), placed in the program by the
// build (embedded_modules.S), and their loading.
#include <cstdio>
#include <span>
#include <string>

#include "shell/platform/embedded_module.h"
#include "shell/startup/shell_modules.h"

extern "C" {
extern const unsigned char quorlane_windows_module_bytes[];
extern const unsigned char quorlane_windows_module_bytes_end[];
extern const unsigned char quorlane_music_module_bytes[];
extern const unsigned char quorlane_music_module_bytes_end[];
}

namespace quorlane {

namespace {

const void* loadPart(const unsigned char* begin, const unsigned char* end, const char* name,
                     const char* entry, const char* what) {
    std::string error;
    const EmbeddedModule module = EmbeddedModule::load(
        std::span<const unsigned char>(begin, static_cast<std::size_t>(end - begin)), name, entry,
        error);
    if (!module)
        std::fprintf(stderr, "Quorlane.scr: cannot load its %s: %s\n", what, error.c_str());
    return module.entry();
}

}  // namespace

const WindowsModule* loadWindowsModule() {
    return static_cast<const WindowsModule*>(
        loadPart(quorlane_windows_module_bytes, quorlane_windows_module_bytes_end,
                 "quorlane-windows", kWindowsModuleEntry, "windows (settings, preview, pictures)"));
}

const MusicModule* loadMusicModule() {
    return static_cast<const MusicModule*>(loadPart(quorlane_music_module_bytes,
                                                    quorlane_music_module_bytes_end,
                                                    "quorlane-music", kMusicModuleEntry, "music"));
}

}  // namespace quorlane
