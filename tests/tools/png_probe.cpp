// Test helper: saves raw pixels through the program's PNG writer, so the end-to-end tests
// can check its files at any size, whatever the screen's.
//   png_probe PIXELS WIDTH HEIGHT OUT.png
// PIXELS holds WIDTH x HEIGHT pixels of blue, green, red, fourth byte, rows top to bottom.
// Exits with 0 when write_png reports the file written, 1 when it reports a failure,
// 2 when the input cannot be read.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "capture/output/png_writer_win.h"

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return 2;
    PixelImage image{{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()},
                     std::atoi(argv[2]),
                     std::atoi(argv[3])};
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4)
        return 2;
    return write_png(argv[4], std::move(image)) ? 0 : 1;
}
