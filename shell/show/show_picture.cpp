#include "shell/show/show_picture.h"

#include <utility>

#include "shell/show/desktop_image_save.h"

namespace quorlane {

bool ShowPicture::take(DecodedPicture&& decoded) {
    if (decoded.width <= 0 || decoded.height <= 0 ||
        decoded.pixels.size() != static_cast<std::size_t>(decoded.width) * decoded.height) {
        return false;
    }
    capture_.reset();
    own_ = std::move(decoded.pixels);
    pixels_ = {decoded.width, decoded.height, static_cast<std::size_t>(decoded.width) * 4,
               reinterpret_cast<const uint8_t*>(own_.data())};
    dotsPerMeterX_ = decoded.dotsPerMeterX;
    dotsPerMeterY_ = decoded.dotsPerMeterY;
    return true;
}

void ShowPicture::holdCapture(std::shared_ptr<const void> capture, const XrgbPixels& view) {
    capture_ = std::move(capture);
    own_.clear();
    pixels_ = view;
    dotsPerMeterX_ = dotsPerMeterY_ = kScreenDotsPerMeter;
}

void ShowPicture::holdBlack(int width, int height) {
    capture_.reset();
    own_.assign(static_cast<std::size_t>(width) * height, 0);
    pixels_ = {width, height, static_cast<std::size_t>(width) * 4,
               reinterpret_cast<const uint8_t*>(own_.data())};
    dotsPerMeterX_ = dotsPerMeterY_ = kScreenDotsPerMeter;
}

bool ShowPicture::saveAs(const std::string& file) const {
    return saveDesktopImageFile(file, pixels_, dotsPerMeterX_, dotsPerMeterY_);
}

}  // namespace quorlane
