// Quorlane.scr's parts (shell_modules.h), loaded from the program's own folder.
#include <cstdio>
#include <string>

#include "shell/platform/loadable_part.h"
#include "shell/platform/renderer_process.h"
#include "shell/startup/shell_modules.h"

namespace quorlane {

namespace {

const void* loadFromProgramFolder(const char* file, const char* entry, const char* what) {
    std::string error;
    const void* table = loadPart(runningProgramFolder() + "/" + file, entry, error);
    if (table == nullptr)
        std::fprintf(stderr, "Quorlane.scr: cannot load its %s: %s\n", what, error.c_str());
    return table;
}

}  // namespace

const QtModule* loadQtModule() {
    return static_cast<const QtModule*>(loadFromProgramFolder(
        kQtModuleFile, kQtModuleEntry, "Qt part (settings, preview, pictures)"));
}

const MusicModule* loadMusicModule() {
    return static_cast<const MusicModule*>(
        loadFromProgramFolder(kMusicModuleFile, kMusicModuleEntry, "music"));
}

const WaylandModule* loadWaylandModule() {
    return static_cast<const WaylandModule*>(
        loadFromProgramFolder(kWaylandModuleFile, kWaylandModuleEntry, "Wayland capture"));
}

}  // namespace quorlane
