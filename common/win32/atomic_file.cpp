// Whole-or-nothing file replacement on Windows: the bytes go to a new file beside the target,
// are flushed when they must outlast a crash, and the new file is moved over the old one in
// one step (MoveFileEx with write-through). Windows has no permission bits of the POSIX kind:
// the mode is not used; a file in the user's own folders is the user's.
#include "common/atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "common/file_path.h"
#include "common/win32/wide_text.h"

namespace quorlane {

namespace {

constexpr char kTemporaryMark[] = ".qtmp";

// The target's name, a mark and six letters or digits.
std::string temporaryNameFor(const std::string& path) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string name = path + kTemporaryMark;
    for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    default: return EIO;
    }
}

}  // namespace

bool replaceFileAtomically(const std::string& path,
                           const std::function<bool(const PieceWriter&)>& contents, int,
                           Durability durability) {
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 8 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryNameFor(path);
        // No sharing: nobody reads the file half written.
        file = CreateFileW(wideFromUtf8(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        errno = errnoOf(GetLastError());
        return false;
    }
    DWORD failure = 0;
    const PieceWriter write = [&](std::string_view piece) {
        while (!piece.empty()) {
            DWORD written = 0;
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1u << 20));
            if (!WriteFile(file, piece.data(), size, &written, nullptr) || written == 0) {
                failure = GetLastError();
                errno = errnoOf(failure);
                return false;
            }
            piece.remove_prefix(written);
        }
        return true;
    };
    errno = 0;
    bool ok = contents(write);
    const int contentsErrno = errno;
    if (ok && durability == Durability::SurvivesCrash && !FlushFileBuffers(file)) {
        failure = GetLastError();
        ok = false;
    }
    CloseHandle(file);
    if (ok && !MoveFileExW(wideFromUtf8(temporary).c_str(), wideFromUtf8(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = GetLastError();
        ok = false;
    }
    if (ok) return true;
    DeleteFileW(wideFromUtf8(temporary).c_str());
    errno = failure != 0 ? errnoOf(failure) : contentsErrno;
    return false;
}

bool replaceFileAtomically(const std::string& path, std::string_view bytes, int mode,
                           Durability durability) {
    return replaceFileAtomically(
        path, [bytes](const PieceWriter& write) { return write(bytes); }, mode, durability);
}

void removeStaleTemporaries(const std::string& file, std::chrono::seconds olderThan) {
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileW(wideFromUtf8(file + kTemporaryMark + "??????").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    const unsigned long long limit =
        static_cast<unsigned long long>(olderThan.count()) * 10'000'000ull;  // 100 ns ticks
    const std::string folder = folderOfPath(file);
    do {
        if (ticks(now) - ticks(found.ftLastWriteTime) < limit) continue;
        // A writer still holding its temporary keeps it: it is opened without sharing.
        DeleteFileW(wideFromUtf8(joinedPath(folder, utf8FromWide(found.cFileName))).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace quorlane
