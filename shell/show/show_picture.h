#pragma once
// The show's picture area ("Display"), kept off screen: a capture where it landed, or pixels of
// its own (a chosen picture, or black), with the resolution the desktop picture file records.
// Every show window fills it alike: the full-screen show and a show in a framework's window on
// X, the show on Windows.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/core/decoded_picture.h"
#include "shell/core/xrgb_pixels.h"
#include "shell/show/bmp_encoder.h"

namespace quorlane {

class ShowPicture {
public:
    ShowPicture() = default;

    // False, keeping what it held, when the picture is not whole.
    bool take(DecodedPicture&& decoded);
    // A capture: any object that owns the pixels its pixels() shows, kept as long as they are
    // held. False, keeping what it held, when there is none.
    template <class Capture>
    bool take(std::unique_ptr<Capture> capture) {
        if (!capture) return false;
        const XrgbPixels view = capture->pixels();
        holdCapture(std::shared_ptr<const void>(std::move(capture)), view);
        return true;
    }
    void holdBlack(int width, int height);

    const XrgbPixels& pixels() const { return pixels_; }
    bool saveAs(const std::string& file) const;

private:
    void holdCapture(std::shared_ptr<const void> capture, const XrgbPixels& view);

    std::shared_ptr<const void> capture_;
    std::vector<uint32_t> own_;
    XrgbPixels pixels_{};
    int32_t dotsPerMeterX_ = kScreenDotsPerMeter, dotsPerMeterY_ = kScreenDotsPerMeter;
};

}  // namespace quorlane
