#include "image/sources/byte_sources.h"
#include "image/image_file.h"
#include "image/image_metadata.h"
#include "tests/native/image_builders.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace imaging;

using namespace test_images;

namespace {

constexpr int kPhotos = 1000;
constexpr std::size_t kScanBytes = 1u << 20;
constexpr std::size_t kBaselineRead = 64 * 1024;
constexpr std::int32_t kDateTimeOriginalId = 0x9003;

// An EXIF block the size of a camera's: the usual IFD0 and Exif fields, a
// maker note, GPS, and a thumbnail IFD with its data.
Bytes camera_exif(int index) {
    char date[20];
    std::snprintf(date, sizeof date, "2024:07:%02d %02d:%02d:%02d", 1 + index % 28, index / 60 % 24, index % 60,
                  index * 7 % 60);
    return TiffBuilder()
        .add(Ifd::Zero, ascii(0x010F, "Canon"))
        .add(Ifd::Zero, ascii(0x0110, "Canon EOS R5"))
        .add(Ifd::Zero, shorts(0x0112, {1}))
        .add(Ifd::Zero, rational(0x011A, 72, 1))
        .add(Ifd::Zero, rational(0x011B, 72, 1))
        .add(Ifd::Zero, shorts(0x0128, {2}))
        .add(Ifd::Zero, ascii(0x0131, "Firmware 1.8.1"))
        .add(Ifd::Zero, ascii(kDateTime, date))
        .add(Ifd::Exif, rational(0x829A, 1, 250))
        .add(Ifd::Exif, rational(0x829D, 28, 10))
        .add(Ifd::Exif, shorts(0x8827, {400}))
        .add(Ifd::Exif, undefined(0x9000, bytes_of("0231")))
        .add(Ifd::Exif, ascii(kDateTimeOriginal, date))
        .add(Ifd::Exif, ascii(0x9004, date))
        .add(Ifd::Exif, rational(0x920A, 50, 1))
        .add(Ifd::Exif, undefined(0x927C, Bytes(6000, 0x42)))
        .add(Ifd::Exif, longs(0xA002, {8192}))
        .add(Ifd::Exif, longs(0xA003, {5464}))
        .add(Ifd::Gps, ascii(0x0001, "N"))
        .add(Ifd::Gps, Field{0x0002, 5, 3, Bytes(24, 1), 4, std::nullopt})
        .add(Ifd::One, longs(0x0201, {0}))
        .add(Ifd::One, undefined(0x0202, Bytes(12000, 0x33)))
        .build()
        .bytes;
}

// A thousand photos of a little over 1 MB each in a fresh temporary
// directory, read once so they sit in the page cache; removed at exit.
class PhotoDirectory {
public:
    PhotoDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "capture-date-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        for (int i = 0; i < kPhotos; ++i) {
            std::string name = path_ + "/IMG_" + std::to_string(10000 + i) + ".JPG";
            Bytes photo = jpeg_file({exif_app1(camera_exif(i))}, 8192, 5464, kScanBytes);
            std::ofstream(name, std::ios::binary)
                .write(reinterpret_cast<const char*>(photo.data()), static_cast<std::streamsize>(photo.size()));
            files_.push_back(name);
        }
        std::vector<char> buffer(1 << 16);
        for (const std::string& name : files_) {
            std::ifstream in(name, std::ios::binary);
            while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
            }
        }
    }
    ~PhotoDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PhotoDirectory(const PhotoDirectory&) = delete;
    PhotoDirectory& operator=(const PhotoDirectory&) = delete;

    const std::string& path() const { return path_; }
    const std::vector<std::string>& files() const { return files_; }

private:
    std::string path_;
    std::vector<std::string> files_;
};

const PhotoDirectory& photos() {
    static PhotoDirectory directory;
    return directory;
}

// Seconds per batch of the two baselines, for the ratios of later benchmarks
// in the same run.
double g_exiftool_seconds = 0;
double g_first_64k_seconds = 0;

// Times the whole loop, so each benchmark can compare itself with the baselines.
class BatchTimer {
public:
    explicit BatchTimer(benchmark::State& state) : state_(state), start_(std::chrono::steady_clock::now()) {}
    double seconds_per_batch() const {
        std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start_;
        return spent.count() / static_cast<double>(state_.iterations());
    }

private:
    benchmark::State& state_;
    std::chrono::steady_clock::time_point start_;
};

void report_against_baselines(benchmark::State& state, double seconds) {
    state.counters["photos"] = kPhotos;
    if (g_first_64k_seconds > 0) state.counters["x_first_64KiB"] = seconds / g_first_64k_seconds;
    if (g_exiftool_seconds > 0) state.counters["exiftool_over_this"] = g_exiftool_seconds / seconds;
}

// Baseline: the capture dates of the directory as exiftool reads them.
void BM_CaptureDate_Exiftool(benchmark::State& state) {
    const PhotoDirectory& dir = photos();
    const std::string command = "exiftool -q -q -fast2 -DateTimeOriginal '" + dir.path() + "' > /dev/null 2>&1";
    if (std::system("exiftool -ver > /dev/null 2>&1") != 0) {
        state.SkipWithError("exiftool is not installed (Debian package libimage-exiftool-perl)");
        return;
    }
    BatchTimer timer(state);
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("exiftool failed");
    }
    g_exiftool_seconds = timer.seconds_per_batch();
    state.counters["photos"] = kPhotos;
}
BENCHMARK(BM_CaptureDate_Exiftool)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: open each photo, read its first 64 KiB, close it.
void BM_CaptureDate_ReadFirst64KiB(benchmark::State& state) {
    const PhotoDirectory& dir = photos();
    std::vector<char> buffer(kBaselineRead);
    BatchTimer timer(state);
    for (auto _ : state) {
        for (const std::string& name : dir.files()) {
            int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) std::abort();
            benchmark::DoNotOptimize(pread(fd, buffer.data(), buffer.size(), 0));
            close(fd);
        }
    }
    g_first_64k_seconds = timer.seconds_per_batch();
    report_against_baselines(state, g_first_64k_seconds);
}
BENCHMARK(BM_CaptureDate_ReadFirst64KiB)->Unit(benchmark::kMillisecond);

// Target: within 1.5 times the 64 KiB reads, and at least 20 times faster than exiftool.
void BM_CaptureDate_MetadataReader(benchmark::State& state) {
    const PhotoDirectory& dir = photos();
    BatchTimer timer(state);
    for (auto _ : state) {
        for (const std::string& name : dir.files()) {
            std::unique_ptr<ByteSource> file = open_file_source(name);
            std::optional<ImageMetadata> image = read_image_metadata(*file);
            auto date = std::find_if(image->properties.begin(), image->properties.end(),
                                     [](const PropertyRecord& p) { return p.id == kDateTimeOriginalId; });
            if (date == image->properties.end() || date->length != 20) std::abort();
            benchmark::DoNotOptimize(date->value.data());
        }
    }
    report_against_baselines(state, timer.seconds_per_batch());
}
BENCHMARK(BM_CaptureDate_MetadataReader)->Unit(benchmark::kMillisecond);

// The same through the image object, as the capture-date names use it.
void BM_CaptureDate_ImageFile(benchmark::State& state) {
    const PhotoDirectory& dir = photos();
    int status = 0;
    ImageFile image(status);
    BatchTimer timer(state);
    for (auto _ : state) {
        for (const std::string& name : dir.files()) {
            PropertyRecord record;
            if (!image.LoadFromFile(name)) std::abort();
            image.GetPropertyItem(kDateTimeOriginalId, record);
            image.Dispose();
            if (record.length != 20) std::abort();
            benchmark::DoNotOptimize(record.value.data());
        }
    }
    report_against_baselines(state, timer.seconds_per_batch());
}
BENCHMARK(BM_CaptureDate_ImageFile)->Unit(benchmark::kMillisecond);

}  // namespace
