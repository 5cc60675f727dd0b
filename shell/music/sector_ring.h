#pragma once
// A fixed ring of CD sectors between one reader thread (the producer) and the audio
// callback (the consumer), without locks: the callback must never wait for a drive.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "shell/music/cd_disc.h"

namespace quorlane {

struct SectorSlot {
    uint32_t generation = 0;  // the play request the sector belongs to
    int32_t lsn = 0;
    bool end = false;  // no sound: the request has no more sectors
    std::array<uint8_t, kCdSectorBytes> data{};
};

class SectorRing {
public:
    explicit SectorRing(std::size_t capacity)
        : capacity_(capacity), slots_(std::make_unique<SectorSlot[]>(capacity)) {}

    // Producer side.
    std::size_t freeSlots() const {
        return capacity_ -
               (head_.load(std::memory_order_relaxed) - tail_.load(std::memory_order_acquire));
    }
    SectorSlot& back() { return slots_[head_.load(std::memory_order_relaxed) % capacity_]; }
    void push() {
        head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

    // Consumer side.
    SectorSlot* front() {
        std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[tail % capacity_];
    }
    void pop() {
        tail_.store(tail_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

private:
    const std::size_t capacity_;
    std::unique_ptr<SectorSlot[]> slots_;
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

}  // namespace quorlane
