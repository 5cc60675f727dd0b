#include "shell/music/cdio_disc.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <cstdlib>
#include <mutex>

#include "common/ascii_case.h"

namespace quorlane {
namespace {

// The shell reports nothing; libcdio would otherwise write its warnings to stderr.
void quietLog(cdio_log_level_t, const char*) {}

class CdioDisc final : public CdDisc {
public:
    CdioDisc(CdIo_t* cdio, DiscToc toc) : cdio_(cdio), toc_(std::move(toc)) {}
    ~CdioDisc() override { cdio_destroy(cdio_); }

    const DiscToc& toc() const override { return toc_; }

    bool readAudio(int32_t lsn, int count, uint8_t* out) override {
        // Reads past the lead-out "succeed" on some drivers: never ask for them.
        if (count <= 0 || lsn < 0 || lsn + count > toc_.leadOut) return false;
        return cdio_read_audio_sectors(cdio_, out, lsn, static_cast<uint32_t>(count)) ==
               DRIVER_OP_SUCCESS;
    }

private:
    CdIo_t* cdio_;
    DiscToc toc_;
};

bool endsWithCue(const std::string& path) { return asciiEndsWithIgnoringCase(path, ".cue"); }

bool readToc(CdIo_t* cdio, DiscToc& toc) {
    track_t first = cdio_get_first_track_num(cdio);
    track_t count = cdio_get_num_tracks(cdio);
    // Some sources that are no disc at all (/dev/null) claim 255 tracks.
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 ||
        first + count - 1 > 99) {
        return false;
    }
    for (int number = first; number < first + count; ++number) {
        lsn_t start = cdio_get_track_lsn(cdio, static_cast<track_t>(number));
        if (start == CDIO_INVALID_LSN || start < 0) return false;
        if (!toc.tracks.empty() && start <= toc.tracks.back().start) return false;
        bool audio =
            cdio_get_track_format(cdio, static_cast<track_t>(number)) == TRACK_FORMAT_AUDIO;
        toc.tracks.push_back(CdTrack{number, static_cast<int32_t>(start), audio});
    }
    lsn_t leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LSN || leadOut <= toc.tracks.back().start) return false;
    toc.leadOut = static_cast<int32_t>(leadOut);
    return true;
}

}  // namespace

std::unique_ptr<CdDisc> openCdioDisc(const std::string& source) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { cdio_log_set_handler(quietLog); });

    CdIo_t* cdio = nullptr;
    if (source.empty()) {
        cdio = cdio_open(nullptr, DRIVER_DEVICE);
    } else if (endsWithCue(source)) {
        // The bin/cue driver reads "<cue base name>.bin", whatever the cue names.
        cdio = cdio_open(source.c_str(), DRIVER_BINCUE);
    } else {
        cdio = cdio_open(source.c_str(), DRIVER_UNKNOWN);
    }
    if (!cdio) return nullptr;
    DiscToc toc;
    if (!readToc(cdio, toc)) {
        cdio_destroy(cdio);
        return nullptr;
    }
    return std::make_unique<CdioDisc>(cdio, std::move(toc));
}

std::unique_ptr<CdDisc> openSystemCdDisc() {
    const char* named = std::getenv("QUORLANE_CDROM");
    return openCdioDisc(named ? named : "");
}

}  // namespace quorlane
