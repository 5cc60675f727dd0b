#include "shell/platform/win32/win32_process.h"

#include <windows.h>

#include <vector>

#include "common/win32/wide_text.h"

namespace quorlane {

Win32Process::~Win32Process() {
    if (process_ != nullptr) CloseHandle(process_);
}

bool Win32Process::start(const std::string& program, const std::string& environment) {
    // The child inherits the environment as it is when it starts; the change is made for that
    // moment only.
    const std::size_t equals = environment.find('=');
    const std::string name = environment.substr(0, equals);
    std::vector<char> old(32768);
    const DWORD oldLength = name.empty() ? 0
                                         : GetEnvironmentVariableA(name.c_str(), old.data(),
                                                                   static_cast<DWORD>(old.size()));
    if (!name.empty()) {
        SetEnvironmentVariableA(
            name.c_str(), equals == std::string::npos ? nullptr : environment.c_str() + equals + 1);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const std::wstring wideProgram = wideFromUtf8(program);
    std::wstring commandLine = L"\"" + wideProgram + L"\"";
    const BOOL started = CreateProcessW(wideProgram.c_str(), commandLine.data(), nullptr, nullptr,
                                        FALSE, 0, nullptr, nullptr, &startup, &info);
    error_ = started ? 0 : GetLastError();
    if (!name.empty()) {
        SetEnvironmentVariableA(name.c_str(), oldLength > 0 ? old.data() : nullptr);
    }
    if (!started) return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    exitCode_ = -1;
    return true;
}

bool Win32Process::ended() {
    if (process_ == nullptr) return true;
    if (exitCode_ >= 0) return true;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    exitCode_ = static_cast<long>(code & 0x7fffffff);
    return true;
}

void Win32Process::end(unsigned graceMilliseconds) {
    if (ended()) return;
    // A renderer on its way out is given the grace to end by itself.
    if (WaitForSingleObject(process_, graceMilliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
    }
    ended();
}

}  // namespace quorlane
