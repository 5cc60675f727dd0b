#include "shell/platform/embedded_module.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/write_all.h"

namespace quorlane {

namespace {

// Newer kernels may make memory files non-executable unless asked; older ones refuse the flag.
#ifndef MFD_EXEC
#define MFD_EXEC 0x0010U
#endif

int memoryFileFor(const char* name) {
    const int fd = memfd_create(name, MFD_CLOEXEC | MFD_EXEC);
    if (fd >= 0 || errno != EINVAL) return fd;
    return memfd_create(name, MFD_CLOEXEC);
}

}  // namespace

EmbeddedModule EmbeddedModule::load(std::span<const unsigned char> bytes, const char* name,
                                    const char* entry, std::string& error) {
    EmbeddedModule module;
    if (bytes.empty()) {
        error = std::string(name) + ": not built into this program";
        return module;
    }
    const int fd = memoryFileFor(name);
    if (fd < 0) {
        error = std::string(name) + ": " + std::strerror(errno);
        return module;
    }
    if (!writeAll(fd,
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        error = std::string(name) + ": " + std::strerror(errno);
        ::close(fd);
        return module;
    }
    // The loader knows a loaded object by the path it was given, and would take a later
    // part opened under a reused descriptor number for this one: the descriptor of a loaded
    // part stays open (and closed to programs this one starts).
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        ::close(fd);
        const char* why = dlerror();
        error = std::string(name) + ": " + (why != nullptr ? why : "cannot be loaded");
        return module;
    }
    module.entry_ = dlsym(handle, entry);
    if (module.entry_ == nullptr) {
        error = std::string(name) + ": has no " + entry;
        dlclose(handle);
        ::close(fd);
    }
    return module;
}

}  // namespace quorlane
