#pragma once
// The show's picture area ("Display"), kept off screen: a capture where it landed, or pixels of
// its own (a chosen picture, or black), with the resolution the desktop picture file records.
// The full-screen show and a show in a framework's window fill it alike.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/core/decoded_picture.h"
#include "shell/core/xrgb_pixels.h"
#include "shell/platform/x_screen_capture.h"
#include "shell/show/bmp_encoder.h"

namespace quorlane {

class ShowPicture {
public:
    ShowPicture() = default;

    // False, keeping what it held, when the picture is not whole.
    bool take(DecodedPicture&& decoded);
    // False, keeping what it held, when there is no capture.
    bool take(std::unique_ptr<RootCapture> capture);
    void holdBlack(int width, int height);

    const XrgbPixels& pixels() const { return pixels_; }
    bool saveAs(const std::string& file) const;

private:
    std::unique_ptr<RootCapture> capture_;
    std::vector<uint32_t> own_;
    XrgbPixels pixels_{};
    int32_t dotsPerMeterX_ = kScreenDotsPerMeter, dotsPerMeterY_ = kScreenDotsPerMeter;
};

}  // namespace quorlane
