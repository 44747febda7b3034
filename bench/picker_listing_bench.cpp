#include "picker/picker_steps.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

using namespace picker;

namespace {

// A directory of 100,000 files, made once per run: nine in ten photos
// (IMG_1.jpg, IMG_2.JPG, ...) and the rest other types, in the order the
// file system keeps them.
class BigDirectory {
public:
    static constexpr int kFiles = 100000;

    BigDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "picker-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        for (int i = 0; i < kFiles; ++i) {
            std::string name = i % 10 == 9 ? "notes_" + std::to_string(i) + ".txt"
                                           : "IMG_" + std::to_string(i) + (i % 2 ? ".JPG" : ".jpg");
            int fd = open((path_ + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd < 0) throw std::runtime_error("cannot create " + name);
            close(fd);
        }
    }
    ~BigDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    BigDirectory(const BigDirectory&) = delete;
    BigDirectory& operator=(const BigDirectory&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

const BigDirectory& big_directory() {
    static BigDirectory directory;
    return directory;
}

// The floor: reading every entry and doing nothing with it.
void BM_BareDirectoryRead(benchmark::State& state) {
    const std::string& path = big_directory().path();
    for (auto _ : state) {
        DIR* dir = opendir(path.c_str());
        std::size_t entries = 0;
        while (const dirent* entry = readdir(dir)) {
            benchmark::DoNotOptimize(entry->d_name[0]);
            ++entries;
        }
        closedir(dir);
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_BareDirectoryRead)->Unit(benchmark::kMillisecond);

// Target: within 1.5 times the bare read. The picker's refill with "*.jpg"
// (search, match, keep the names, sort them), as the window runs it again
// and again on one model.
void BM_RefillByJpgType(benchmark::State& state) {
    FilePickerModel picker;
    picker.directory = big_directory().path();
    for (auto _ : state) {
        refill_file_box(picker);
        benchmark::DoNotOptimize(picker.files.size());
    }
    state.counters["files"] = static_cast<double>(picker.files.size());
}
BENCHMARK(BM_RefillByJpgType)->Unit(benchmark::kMillisecond);

// The same on a model just made, as at the window's opening: the storage for
// the names is fresh memory then.
void BM_FirstRefillByJpgType(benchmark::State& state) {
    for (auto _ : state) {
        FilePickerModel picker;
        picker.directory = big_directory().path();
        refill_file_box(picker);
        benchmark::DoNotOptimize(picker.files.size());
    }
}
BENCHMARK(BM_FirstRefillByJpgType)->Unit(benchmark::kMillisecond);

}  // namespace
