#include "image/sources/header_reads.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

using namespace imaging;
using namespace std::chrono_literals;

namespace {

std::vector<std::uint8_t> pattern(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

FileHeader take_now(HeaderReads& reads, std::size_t index) {
    for (;;) {
        if (std::optional<FileHeader> header = reads.take(index, 50ms)) return std::move(*header);
    }
}

// True once nothing but the test holds the token: every reader has let go.
bool let_go(const std::shared_ptr<int>& token) {
    for (int i = 0; i < 500 && token.use_count() > 1; ++i) std::this_thread::sleep_for(10ms);
    return token.use_count() == 1;
}

// A read that waits for the test before it answers, for one chosen path.
struct HeldRead {
    std::string held_path;
    std::mutex mutex;
    std::condition_variable released_cv;
    bool released = false;
    std::set<std::string> read;

    FileHeader operator()(const std::string& path) {
        std::unique_lock lock(mutex);
        if (path == held_path) released_cv.wait(lock, [&] { return released; });
        read.insert(path);
        FileHeader header;
        header.opened = true;
        header.bytes.assign(path.begin(), path.end());
        header.size = header.bytes.size();
        return header;
    }
    void release() {
        std::lock_guard lock(mutex);
        released = true;
        released_cv.notify_all();
    }
};

}  // namespace

TEST(HeaderReads, EachFileInOrderAsOneOpenFoundIt) {
    TempDirectory dir;
    const auto big = pattern(200 * 1024);
    dir.write("big.jpg", big);
    dir.write("small.jpg", pattern(1000));
    dir.write("empty.jpg", std::string());
    dir.make_directory("folder.jpg");
    struct Case {
        const char* name;
        bool opened;
        std::uint64_t size;
        std::size_t held;
    };
    const Case cases[] = {
        {"big.jpg", true, big.size(), kHeaderBytes}, {"missing.jpg", false, 0, 0}, {"small.jpg", true, 1000, 1000},
        {"folder.jpg", false, 0, 0},                 {"empty.jpg", true, 0, 0},    {"big.jpg", true, big.size(), kHeaderBytes},
    };
    std::vector<std::string> paths;
    for (const Case& c : cases) paths.push_back(dir.path(c.name));
    HeaderReads reads(paths);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        FileHeader header = take_now(reads, i);
        EXPECT_EQ(header.opened, cases[i].opened);
        EXPECT_EQ(header.size, cases[i].size);
        ASSERT_EQ(header.bytes.size(), cases[i].held);
        EXPECT_TRUE(std::equal(header.bytes.begin(), header.bytes.end(), dir.read_bytes(cases[i].name).begin()));
    }
}

TEST(HeaderReads, ASourceReadsPastItsHeaderFromTheFile) {
    TempDirectory dir;
    const auto big = pattern(200 * 1024);
    dir.write("video.mp4", big);
    std::unique_ptr<ByteSource> source = header_source(dir.path("video.mp4"), read_file_header(dir.path("video.mp4"), kHeaderBytes));
    ASSERT_NE(source, nullptr);
    std::vector<std::uint8_t> tail(1000);
    EXPECT_EQ(source->read_at(big.size() - 1000, tail), 1000u);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), big.end() - 1000));
    EXPECT_EQ(source->read_at(big.size() - 10, tail), 10u);

    EXPECT_EQ(header_source(dir.path("none.mp4"), read_file_header(dir.path("none.mp4"), kHeaderBytes)), nullptr);
}

TEST(HeaderReads, AReadThatNeverAnswersHoldsUpOnlyItsOwnRowAndTheReadersEndWithTheBuild) {
    auto held = std::make_shared<HeldRead>();
    held->held_path = "row1";
    auto token = std::make_shared<int>(0);
    std::vector<std::string> paths;
    for (int i = 0; i < 20; ++i) paths.push_back("row" + std::to_string(i));
    {
        HeaderReads reads(paths, [held, token](const std::string& path) { return (*held)(path); });
        EXPECT_EQ(take_now(reads, 0).bytes.size(), 4u);
        EXPECT_FALSE(reads.take(1, 100ms).has_value());
        // The other readers went on meanwhile, as far as rows after it.
        for (int i = 0; i < 100; ++i) {
            {
                std::lock_guard lock(held->mutex);
                if (held->read.contains("row19")) break;
            }
            std::this_thread::sleep_for(10ms);
        }
        std::lock_guard lock(held->mutex);
        EXPECT_TRUE(held->read.contains("row19"));
    }
    // Abandoned while one read hangs: that reader lets go once it answers.
    EXPECT_GT(token.use_count(), 1);
    held->release();
    EXPECT_TRUE(let_go(token));

    auto quick = std::make_shared<int>(0);
    {
        HeaderReads reads(paths, [quick](const std::string& path) {
            FileHeader header;
            header.opened = !path.empty();
            return header;
        });
        EXPECT_TRUE(take_now(reads, 19).opened);  // the rows before it passed over
    }
    EXPECT_TRUE(let_go(quick));
}
