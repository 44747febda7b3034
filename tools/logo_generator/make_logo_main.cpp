// Writes the About window's logo as a BMP file and the program's icon as an
// ICO file: make_logo <output.bmp> <output.ico>
#include "tools/logo_generator/icon_file.h"
#include "tools/logo_generator/logo_drawing.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool write_file(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path, "wb"));
    if (!out || bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) return false;
    return std::fclose(out.release()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output.bmp> <output.ico>\n", argv[0]);
        return 2;
    }
    if (!write_file(argv[1], encode_bmp(draw_logo(), kLogoPixelsPerMetre, kLogoTrailingPadding))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (!write_file(argv[2], encode_icon(kIconSides, &draw_logo_with_alpha))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
