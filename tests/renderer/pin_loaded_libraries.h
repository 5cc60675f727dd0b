#pragma once
// Keeps every shared library loaded so far in memory until the process ends.
// The GL driver is unloaded at exit before the leak checker runs; its own allocations then
// show up as leaks from an unknown module that no suppression can name. Pinned, they are
// reported under the driver's name and the project's suppressions apply.
#include <dlfcn.h>
#include <link.h>

namespace quorlane::testing {

inline void pinLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

}  // namespace quorlane::testing
