#include "capture/marks/arrow_head.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double WING_ANGLE = 0.5235987755982988; // 30 degrees either side of the shaft
}

int32_t to_coordinate(double value) {
    if (std::isnan(value)) return 0;
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(std::clamp(value, low, high)));
}

std::optional<ArrowHead> arrow_head(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (!(length >= 1.0)) return std::nullopt;
    const double angle = std::atan2(dy, dx);
    const double side = std::min(2.5 * width + 12.0, 0.4 * length);
    ArrowHead head;
    head.apex = {x2, y2};
    head.wings[0] = {to_coordinate(x2 - std::cos(angle - WING_ANGLE) * side),
                     to_coordinate(y2 - std::sin(angle - WING_ANGLE) * side)};
    head.wings[1] = {to_coordinate(x2 - std::cos(angle + WING_ANGLE) * side),
                     to_coordinate(y2 - std::sin(angle + WING_ANGLE) * side)};
    return head;
}
