// Arrow heads for shafts between any two 32-bit points at any pen width.
#include <cmath>

#include "capture/marks/arrow_head.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const int32_t x1 = take<int32_t>(in), y1 = take<int32_t>(in);
    const int32_t x2 = take<int32_t>(in), y2 = take<int32_t>(in);
    const int32_t width = take<int32_t>(in);
    const std::optional<ArrowHead> head = arrow_head(x1, y1, x2, y2, width);
    FUZZ_CHECK(head.has_value() == (x1 != x2 || y1 != y2));
    if (head) FUZZ_CHECK(head->apex == (PixelPoint{x2, y2}));

    const double value = take<double>(in);
    const int32_t coordinate = to_coordinate(value);
    if (std::isnan(value)) FUZZ_CHECK(coordinate == 0);
    if (value >= 0) FUZZ_CHECK(coordinate >= 0);
    if (value <= 0) FUZZ_CHECK(coordinate <= 0);
    return 0;
}
