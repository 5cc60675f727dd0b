#pragma once
// The "cdaudio" device: plays a disc by streaming its audio sectors into the audio output.
// A reader thread opens the disc and reads ahead into a ring of sectors (a drive can block
// for seconds); the audio callback takes them from the ring through render(). Mode,
// position and current track follow what render() has handed out, i.e. what was heard.
//
// Until the reader has the disc's table of contents the device answers mode "not ready",
// current track 1 and 0 tracks rather than failing, so that a drive that is slow to spin
// up is not taken for a missing one; play and stop are refused as not ready meanwhile.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "shell/music/cd_disc.h"
#include "shell/music/mci_device.h"
#include "shell/music/sector_ring.h"

namespace quorlane {

class CdAudioDevice final : public mci::Device {
public:
    static constexpr std::size_t kDefaultRingSectors = 4 * kCdSectorsPerSecond;

    // How the reader rests while the ring is full: waits on `wake` under `lock` until `changed`
    // holds or it is time to look for room again. The default waits 20 ms; a test passes its
    // own to see the reader resting and to decide when time passes.
    using RestWhileFull =
        std::function<void(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                           const std::function<bool()>& changed)>;
    static void restOneRefillInterval(std::unique_lock<std::mutex>& lock,
                                      std::condition_variable& wake,
                                      const std::function<bool()>& changed);

    explicit CdAudioDevice(CdDiscOpener opener, std::size_t ringSectors = kDefaultRingSectors,
                           RestWhileFull restWhileFull = restOneRefillInterval);
    // Stops the reader thread and waits for it.
    ~CdAudioDevice() override;
    // Asks the reader to end without waiting; readerDone() tells when it has, after which
    // destruction does not block. For closing while a drive hangs in a read.
    void beginShutdown();
    bool readerDone() const { return readerDone_.load(std::memory_order_acquire); }
    // Lets go of a device whose reader may hang in a drive for good: it is freed at once if
    // the reader is done, else by the reader itself when the drive answers. Never waits.
    static void abandon(std::unique_ptr<CdAudioDevice> device);
    CdAudioDevice(const CdAudioDevice&) = delete;
    CdAudioDevice& operator=(const CdAudioDevice&) = delete;

    uint32_t play(const std::optional<std::string>& from,
                  const std::optional<std::string>& to) override;
    uint32_t stop() override;
    uint32_t status(mci::StatusItem item, std::optional<int> track, std::string& answer) override;
    uint32_t setTimeFormat(mci::TimeFormat format) override;

    // Audio thread: fills length bytes of 16-bit stereo with what plays now, silence where
    // nothing is ready. Never blocks.
    void render(uint8_t* out, std::size_t length);
    static void renderInto(void* device, uint8_t* stream, int length);

private:
    enum class Load { Loading, Ready, Failed };
    struct Request {
        uint32_t generation = 0;
        bool active = false;
        int32_t from = 0;
        int32_t to = 0;
    };

    void readerMain();
    void runDisc();
    void runReader(CdDisc& disc);
    void pushEnd(uint32_t generation, int32_t lsn);
    void request(bool active, int32_t from, int32_t to);
    int32_t defaultStart(int32_t heard) const;

    CdDiscOpener opener_;
    RestWhileFull restWhileFull_;
    SectorRing ring_;
    std::atomic<Load> load_{Load::Loading};
    DiscToc toc_;  // written by the reader before load_ turns Ready, fixed afterwards

    // Generation, playing flag and heard sector in one word, so that the callback can move
    // the position only while no newer command has been given (compare and swap).
    std::atomic<uint64_t> play_{0};
    uint32_t generation_ = 0;        // the command side's latest
    std::size_t consumedBytes_ = 0;  // the callback's progress through the front slot

    std::mutex mutex_;
    std::condition_variable wake_;
    Request request_;
    bool shutdown_ = false;
    bool abandoned_ = false;  // the reader frees the device when it ends
    std::atomic<bool> readerDone_{false};
    std::thread reader_;
};

}  // namespace quorlane
