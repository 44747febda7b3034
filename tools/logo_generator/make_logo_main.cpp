// Writes the About window's logo as a BMP file: make_logo <output.bmp>
#include "tools/logo_generator/logo_drawing.h"

#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.bmp>\n", argv[0]);
        return 2;
    }
    std::vector<std::uint8_t> bytes = encode_bmp(draw_logo(), kLogoPixelsPerMetre, kLogoTrailingPadding);
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(argv[1], "wb"));
    if (!out || bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (std::fclose(out.release()) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
