#include "shell/platform/loadable_part.h"

#include <dlfcn.h>

namespace quorlane {

void* loadPart(const std::string& path, const char* entry, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        // The loader's own text names the path and the reason.
        const char* why = dlerror();
        error = why != nullptr ? why : path + ": cannot be loaded";
        return nullptr;
    }
    void* address = dlsym(handle, entry);
    if (address == nullptr) {
        error = path + ": has no " + entry;
        dlclose(handle);
    }
    return address;
}

}  // namespace quorlane
