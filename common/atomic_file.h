#pragma once
// Every file this program writes replaces the old one whole or not at all: a crash, a full disk
// or a failing device leaves either the old contents or the new ones, never a mix.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace quorlane {

// The new file's permission bits taken from the umask (0666 less it), as for any new file.
inline constexpr int kModeFromUmask = -1;

// Whether the new contents must outlast a crash of the whole system, or are remade each time
// they are needed and must only never be seen half written.
enum class Durability { SurvivesCrash, RemadeAtEachUse };

// Writes the bytes to a new file beside `path`, flushes them to the device (unless they are
// remade at each use), gives the file `mode` (permission bits, or kModeFromUmask) and renames
// it over `path`. The file is created 0600 and only then given its mode, so nobody else can
// read a private file while it is being written, and holds a lock on it until the rename.
// Returns false, with `path` as it was, no temporary left and errno saying why, on any failure.
bool replaceFileAtomically(const std::string& path, std::string_view bytes, int mode = 0600,
                           Durability durability = Durability::SurvivesCrash);

// The same, for contents made piece by piece: `contents` hands each piece, in order, to the
// function it is given, which writes it and says whether that worked. When `contents` returns
// false (errno saying why, or 0), the file is left as it was.
using PieceWriter = std::function<bool(std::string_view piece)>;
bool replaceFileAtomically(const std::string& path,
                           const std::function<bool(const PieceWriter&)>& contents, int mode,
                           Durability durability);

// Removes the temporaries that replaceFileAtomically left beside the file when it was killed
// mid-write (nothing else ever would): ours, not locked by a writer, and untouched for
// olderThan.
void removeStaleTemporaries(const std::string& file, std::chrono::seconds olderThan);

}  // namespace quorlane
