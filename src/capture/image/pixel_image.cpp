#include "capture/image/pixel_image.h"

#include <limits>
#include <new>

std::optional<PixelImage> make_pixel_image(int64_t width, int64_t height) {
    if (width < 1 || height < 1) return std::nullopt;
    // Checked before multiplying: a selection dragged far beyond the screen can span
    // 65535 x 65535, and a side past 2^31 would overflow the product.
    constexpr int64_t limit = std::numeric_limits<int32_t>::max();
    if (width > limit || height > limit || width * height > limit / 4) return std::nullopt;
    PixelImage image;
    try {
        // Room for one more byte a row, so the PNG encoder can filter the rows where they
        // lie (each filtered row starts with its filter byte) without moving them.
        image.pixels.reserve(static_cast<size_t>(width * height * 4 + height));
        image.pixels.assign(static_cast<size_t>(width * height * 4), 0);
    } catch (const std::bad_alloc&) {
        // The memory is missing: a failed capture, not the end of the tray and every pin.
        return std::nullopt;
    }
    image.width = static_cast<int32_t>(width);
    image.height = static_cast<int32_t>(height);
    return image;
}
