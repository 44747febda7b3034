#include "batch_progress.h"
#include "filelist/main_model.h"
#include "rename/rename_conflicts.h"
#include "rename/rename_run.h"
#include "naming/sequential_names.h"
#include "platform/file_rename.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace filelist;
using namespace naming;
using namespace renaming;

namespace {

std::vector<std::string> numbered(const std::string& prefix, std::size_t n, const std::string& extension) {
    std::vector<std::string> names;
    names.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%05zu", i + 1);
        names.push_back(prefix + number + extension);
    }
    return names;
}

// Target: 100,000 rows under 30 ms.
void BM_BuildSequentialNames(benchmark::State& state) {
    Batch batch;
    batch.fill_list("/home/user/Pictures/2024 Holiday/",
                    numbered("IMG_", static_cast<std::size_t>(state.range(0)), ".JPG"));
    const std::array<std::string, 3> rule{"A", "001", "1"};
    for (auto _ : state) {
        build_sequential_names(batch, rule);
        benchmark::DoNotOptimize(batch.new_names().back());
    }
}
BENCHMARK(BM_BuildSequentialNames)->Arg(100000)->Unit(benchmark::kMillisecond);

// Target: 100,000 rows checked under 200 ms. A renumbering of a folder of
// photos, half of whose targets are still held by later rows, with one name
// taken from outside the batch.
void BM_FindConflicts(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    RenameBatch batch;
    batch.directory = "/home/user/Pictures/2024 Holiday/";
    batch.old_names = numbered("IMG_", n, ".JPG");
    batch.new_names = numbered("IMG_", n, "");
    for (std::size_t i = 0; i < n; i += 2) batch.new_names[i] = "A" + batch.new_names[i];
    batch.extensions.assign(n, ".JPG");
    std::vector<std::string> listing = batch.old_names;
    listing.push_back("A" + batch.old_names[0]);
    for (auto _ : state) {
        std::vector<RowConflict> conflicts = find_conflicts(batch, plan_renames(batch), listing);
        benchmark::DoNotOptimize(conflicts.back());
    }
}
BENCHMARK(BM_FindConflicts)->Arg(100000)->Unit(benchmark::kMillisecond);

// A directory of n small files named IMG_00001.jpg … that the rename benchmarks
// rename to A00001.jpg … and back, one direction per pass.
class RenameBench {
public:
    explicit RenameBench(std::size_t n) : old_bases_(numbered("IMG_", n, "")), new_bases_(numbered("A", n, "")) {
        std::filesystem::path folder;
        std::random_device random;
        do {
            folder = std::filesystem::temp_directory_path() / ("batch-rename-bench-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(folder));
        directory_ = folder.string() + static_cast<char>(std::filesystem::path::preferred_separator);
        for (const std::string& base : old_bases_) std::ofstream(directory_ + base + ".jpg") << base;
    }
    ~RenameBench() {
        std::error_code ec;
        std::filesystem::remove_all(directory_, ec);
    }
    RenameBench(const RenameBench&) = delete;
    RenameBench& operator=(const RenameBench&) = delete;

    // Renames every file through the program's rename run; false if any row failed.
    bool run_pass(MainModel& model) {
        const auto& from = forward_ ? old_bases_ : new_bases_;
        const auto& to = forward_ ? new_bases_ : old_bases_;
        std::vector<std::string> file_names;
        for (const std::string& base : from) file_names.push_back(base + ".jpg");
        model.state.batch.fill_list(directory_, std::move(file_names));
        for (std::size_t k = 0; k < to.size(); ++k) model.state.batch.set_new_name(k, to[k]);
        model.state.rule_confirmed = 1;
        forward_ = !forward_;
        auto started = std::chrono::steady_clock::now();
        RenameRun run;
        bench::rename_rows(run, model);
        last_seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        for (std::size_t row = 0; row < model.state.batch.row_count(); ++row) {
            if (model.state.batch.result(row).kind != Outcome::Renamed) return false;
        }
        return true;
    }

    // Renames every file with nothing but the platform call, over prepared paths.
    bool bare_pass() {
        const auto& from = forward_ ? old_bases_ : new_bases_;
        const auto& to = forward_ ? new_bases_ : old_bases_;
        std::vector<std::pair<std::string, std::string>> paths;
        paths.reserve(from.size());
        for (std::size_t i = 0; i < from.size(); ++i)
            paths.emplace_back(directory_ + from[i] + ".jpg", directory_ + to[i] + ".jpg");
        forward_ = !forward_;
        bool ok = true;
        auto started = std::chrono::steady_clock::now();
        for (const auto& [old_path, new_path] : paths) ok &= platform::rename_file_no_replace(old_path, new_path);
        last_seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return ok;
    }

    double last_seconds() const { return last_seconds_; }

private:
    std::vector<std::string> old_bases_;
    std::vector<std::string> new_bases_;
    std::string directory_;
    bool forward_ = true;
    double last_seconds_ = 0;
};

// Target: the rename run over 10,000 files within 1.25 times the bare loop of
// platform renames. Both run in turns within each iteration, so that both see
// the same state of the machine and the file system; the iteration time is the
// run's, and the counters give both and their ratio.
void BM_RenameRunAgainstBareLoop(benchmark::State& state) {
    RenameBench bench(static_cast<std::size_t>(state.range(0)));
    MainModel model;
    double run_total = 0, bare_total = 0;
    for (auto _ : state) {
        if (!bench.run_pass(model)) state.SkipWithError("a rename of the run failed");
        double run = bench.last_seconds();
        if (!bench.bare_pass()) state.SkipWithError("a bare rename failed");
        run_total += run;
        bare_total += bench.last_seconds();
        state.SetIterationTime(run);
    }
    double n = static_cast<double>(state.iterations());
    state.counters["run_ms"] = run_total / n * 1e3;
    state.counters["bare_ms"] = bare_total / n * 1e3;
    state.counters["run_over_bare"] = run_total / bare_total;
}
BENCHMARK(BM_RenameRunAgainstBareLoop)->Arg(10000)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
