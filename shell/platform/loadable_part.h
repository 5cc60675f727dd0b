#pragma once
// Parts of the shell that need large libraries (Qt for the dialog and the preview, SDL and
// libcdio for music) are ordinary shared objects installed beside the programs, so that a
// show, which needs none of them, starts without loading them, and a packager's tools see
// every library they link. A part is loaded by path the first time it is needed, and stays
// loaded.
//
// Supports: any shared object file the dynamic loader accepts, its entry found by name.
// Does not: search a library path (the path is used as given), or unload a part.
#include <string>

namespace quorlane {

// Loads the shared object at `path` and returns the address of its `entry` symbol. Null when
// the file is missing, is no loadable object, or lacks that entry; `error` then says why in one
// line, and nothing stays loaded.
void* loadPart(const std::string& path, const char* entry, std::string& error);

}  // namespace quorlane
