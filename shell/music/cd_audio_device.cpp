#include "shell/music/cd_audio_device.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "shell/music/cd_position.h"
#include "shell/music/mci_errors.h"

namespace quorlane {

using namespace mci;

namespace {

// A third of a second per read: short enough to notice a new command soon.
constexpr int kReadBatch = 25;
// How often a reader with a full ring looks for room again.
constexpr auto kRefillInterval = std::chrono::milliseconds(20);

uint64_t packState(uint32_t generation, bool playing, int32_t lsn) {
    return (uint64_t{generation} << 33) | (uint64_t{playing} << 32) | static_cast<uint32_t>(lsn);
}
uint32_t generationOf(uint64_t state) { return static_cast<uint32_t>(state >> 33); }
bool playingOf(uint64_t state) { return ((state >> 32) & 1) != 0; }
int32_t lsnOf(uint64_t state) { return static_cast<int32_t>(static_cast<uint32_t>(state)); }

}  // namespace

void CdAudioDevice::restOneRefillInterval(std::unique_lock<std::mutex>& lock,
                                          std::condition_variable& wake,
                                          const std::function<bool()>& changed) {
    wake.wait_for(lock, kRefillInterval, changed);
}

CdAudioDevice::CdAudioDevice(CdDiscOpener opener, std::size_t ringSectors,
                             RestWhileFull restWhileFull)
    : opener_(std::move(opener)),
      restWhileFull_(std::move(restWhileFull)),
      ring_(std::max<std::size_t>(ringSectors, kReadBatch + 1)) {
    reader_ = std::thread([this] { readerMain(); });
}

CdAudioDevice::~CdAudioDevice() {
    beginShutdown();
    if (reader_.joinable()) reader_.join();  // an abandoned device's reader deletes it itself
}

void CdAudioDevice::beginShutdown() {
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
    }
    wake_.notify_all();
}

void CdAudioDevice::abandon(std::unique_ptr<CdAudioDevice> device) {
    if (!device) return;
    {
        std::lock_guard lock(device->mutex_);
        device->shutdown_ = true;
        if (!device->readerDone()) {
            device->abandoned_ = true;
            device->wake_.notify_all();
            device->reader_.detach();
            static_cast<void>(device.release());  // now the reader's to free
            return;
        }
    }
    device->wake_.notify_all();
}

void CdAudioDevice::readerMain() {
    runDisc();
    bool ownsItself = false;
    {
        std::lock_guard lock(mutex_);
        readerDone_.store(true, std::memory_order_release);
        ownsItself = abandoned_;
    }
    // Nothing of the device is touched after this: its owner has gone.
    if (ownsItself) delete this;
}

void CdAudioDevice::runDisc() {
    std::unique_ptr<CdDisc> disc;
    try {
        if (opener_) disc = opener_();
    } catch (...) {
        disc.reset();
    }
    if (!disc || disc->toc().tracks.empty() ||
        disc->toc().leadOut <= disc->toc().tracks.front().start) {
        load_.store(Load::Failed, std::memory_order_release);
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return shutdown_; });
        return;
    }
    toc_ = disc->toc();
    play_.store(packState(0, false, toc_.tracks.front().start), std::memory_order_release);
    load_.store(Load::Ready, std::memory_order_release);
    runReader(*disc);
}

void CdAudioDevice::runReader(CdDisc& disc) {
    std::vector<uint8_t> buffer(static_cast<std::size_t>(kReadBatch) * kCdSectorBytes);
    Request current;
    int32_t next = 0;
    int32_t carefulUntil = 0;  // after a failed batch, sector by sector up to here
    std::unique_lock lock(mutex_);
    const std::function<bool()> changed = [&] {
        return shutdown_ || request_.generation != current.generation;
    };
    while (!shutdown_) {
        if (request_.generation != current.generation) {
            current = request_;
            next = current.from;
            carefulUntil = 0;
        }
        if (!current.active) {
            wake_.wait(lock, changed);
            continue;
        }
        std::size_t room = ring_.freeSlots();
        if (room == 0) {
            restWhileFull_(lock, wake_, changed);
            continue;
        }
        if (next >= current.to) {
            pushEnd(current.generation, next);
            current.active = false;
            continue;
        }
        int index = toc_.trackIndexAt(next);
        if (!toc_.tracks[index].audio) {
            // Data sectors are never sound: go on at the next track.
            next = std::min(current.to, toc_.trackEnd(index));
            continue;
        }
        int32_t until = std::min(current.to, toc_.trackEnd(index));
        int batch = next < carefulUntil ? 1 : kReadBatch;
        int count =
            static_cast<int>(std::min<int64_t>({batch, until - next, static_cast<int64_t>(room)}));
        const uint32_t generation = current.generation;
        lock.unlock();
        bool ok = disc.readAudio(next, count, buffer.data());
        lock.lock();
        if (request_.generation != generation) continue;  // a newer command came meanwhile
        if (!ok && count > 1) {
            // Keep what can be read before the bad sector.
            carefulUntil = next + count;
            continue;
        }
        if (!ok) {
            // A damaged disc ends the play here instead of sounding as noise.
            pushEnd(generation, next);
            current.active = false;
            continue;
        }
        for (int i = 0; i < count; ++i) {
            SectorSlot& slot = ring_.back();
            slot.generation = generation;
            slot.lsn = next + i;
            slot.end = false;
            std::memcpy(slot.data.data(),
                        buffer.data() + static_cast<std::size_t>(i) * kCdSectorBytes,
                        kCdSectorBytes);
            ring_.push();
        }
        next += count;
    }
}

void CdAudioDevice::pushEnd(uint32_t generation, int32_t lsn) {
    SectorSlot& slot = ring_.back();
    slot.generation = generation;
    slot.lsn = lsn;
    slot.end = true;
    ring_.push();
}

void CdAudioDevice::render(uint8_t* out, std::size_t length) {
    std::size_t done = 0;
    uint64_t state = play_.load(std::memory_order_acquire);
    while (done < length) {
        const uint32_t generation = generationOf(state);
        SectorSlot* slot = ring_.front();
        if (!slot) break;  // the reader is behind: silence, the position waits
        if (slot->generation < generation ||
            (slot->generation == generation && !playingOf(state))) {
            ring_.pop();  // left over from an earlier command
            consumedBytes_ = 0;
            continue;
        }
        if (slot->generation > generation) break;
        if (slot->end) {
            int32_t lsn = slot->lsn;
            ring_.pop();
            consumedBytes_ = 0;
            uint64_t ended = packState(generation, false, lsn);
            if (play_.compare_exchange_strong(state, ended)) state = ended;
            continue;
        }
        std::size_t n = std::min<std::size_t>(kCdSectorBytes - consumedBytes_, length - done);
        std::memcpy(out + done, slot->data.data() + consumedBytes_, n);
        done += n;
        consumedBytes_ += n;
        int32_t heard = slot->lsn;
        if (consumedBytes_ == kCdSectorBytes) {
            ring_.pop();
            consumedBytes_ = 0;
            heard += 1;
        }
        uint64_t moved = packState(generation, true, heard);
        if (play_.compare_exchange_strong(state, moved)) state = moved;
    }
    if (done < length) std::memset(out + done, 0, length - done);
}

void CdAudioDevice::renderInto(void* device, uint8_t* stream, int length) {
    if (length > 0)
        static_cast<CdAudioDevice*>(device)->render(stream, static_cast<std::size_t>(length));
}

void CdAudioDevice::request(bool active, int32_t from, int32_t to) {
    const uint32_t generation = ++generation_;
    int32_t position = active ? from : lsnOf(play_.load(std::memory_order_acquire));
    play_.store(packState(generation, active, position), std::memory_order_release);
    {
        std::lock_guard lock(mutex_);
        request_ = Request{generation, active, from, to};
    }
    wake_.notify_all();
}

int32_t CdAudioDevice::defaultStart(int32_t heard) const {
    // Play goes on from where the disc is; once it has played to the end it starts over.
    for (int i = 0; i < static_cast<int>(toc_.tracks.size()); ++i) {
        if (toc_.tracks[i].audio && toc_.trackEnd(i) > heard) return heard;
    }
    for (const CdTrack& track : toc_.tracks) {
        if (track.audio) return track.start;
    }
    return toc_.leadOut;
}

uint32_t CdAudioDevice::play(const std::optional<std::string>& from,
                             const std::optional<std::string>& to) {
    if (load_.load(std::memory_order_acquire) != Load::Ready) return kDeviceNotReady;
    const uint64_t state = play_.load(std::memory_order_acquire);
    int32_t start = 0;
    int32_t end = toc_.leadOut;
    if (from) {
        if (uint32_t code = parseCdPosition(*from, toc_, start)) return code;
    } else {
        if (playingOf(state) && !to) return kOk;
        start = defaultStart(lsnOf(state));
    }
    if (to) {
        if (uint32_t code = parseCdPosition(*to, toc_, end)) return code;
    }
    if (start > end) return kOutOfRange;
    request(true, start, end);
    return kOk;
}

uint32_t CdAudioDevice::stop() {
    if (load_.load(std::memory_order_acquire) != Load::Ready) return kDeviceNotReady;
    request(false, 0, 0);
    return kOk;
}

uint32_t CdAudioDevice::status(StatusItem item, std::optional<int> track, std::string& answer) {
    const Load load = load_.load(std::memory_order_acquire);
    if (load == Load::Failed) return kDeviceNotReady;
    if (load == Load::Loading) {
        switch (item) {
        case StatusItem::Mode: answer = "not ready"; return kOk;
        case StatusItem::CurrentTrack: answer = "1"; return kOk;
        case StatusItem::NumberOfTracks: answer = "0"; return kOk;
        default: return kDeviceNotReady;
        }
    }
    const uint64_t state = play_.load(std::memory_order_acquire);
    const int32_t heard = lsnOf(state);
    int index = -1;
    if (track) {
        index = toc_.trackIndexOf(*track);
        if (index < 0) return kOutOfRange;
    }
    switch (item) {
    case StatusItem::Mode: answer = playingOf(state) ? "playing" : "stopped"; return kOk;
    case StatusItem::CurrentTrack:
        answer = std::to_string(toc_.tracks[toc_.trackIndexAt(heard)].number);
        return kOk;
    case StatusItem::NumberOfTracks: answer = std::to_string(toc_.tracks.size()); return kOk;
    case StatusItem::Position:
        answer = formatCdPosition(index < 0 ? heard : toc_.tracks[index].start, toc_);
        return kOk;
    }
    return kUnrecognizedKeyword;
}

uint32_t CdAudioDevice::setTimeFormat(TimeFormat) {
    return kOk;  // tmsf, the only format, is always in use
}

}  // namespace quorlane
