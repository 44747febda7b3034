#include "image/sources/header_reads.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace imaging {

namespace {

class HeaderSource final : public ByteSource {
public:
    HeaderSource(std::string path, FileHeader header) : path_(std::move(path)), header_(std::move(header)) {}

    std::uint64_t size() const override { return header_.size; }

    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        const std::size_t held = header_.bytes.size();
        if (offset <= held && out.size() <= held - offset) {
            if (!out.empty()) std::memcpy(out.data(), header_.bytes.data() + offset, out.size());
            return out.size();
        }
        if (!rest_) rest_ = open_file_source(path_);
        return rest_ ? rest_->read_at(offset, out) : 0;
    }

private:
    std::string path_;
    FileHeader header_;
    mutable std::unique_ptr<ByteSource> rest_;  // the file itself, opened for a read beyond the header
};

}  // namespace

std::unique_ptr<ByteSource> header_source(const std::string& path, FileHeader header) {
    if (!header.opened) return nullptr;
    return std::make_unique<HeaderSource>(path, std::move(header));
}

// What the readers and the taker share. The readers keep it alive while a
// read is under way, so a reader whose request never returns harms nothing
// once the taker has gone.
struct HeaderReads::Shared {
    std::vector<std::string> paths;
    ReadHeader read;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<FileHeader>> done;
    std::size_t next = 0;   // the next index a reader takes on
    std::size_t taken = 0;  // every index below was taken or passed over
    int running = 0;
    bool stop = false;

    // The readers stay this many files ahead of the taker, so at most
    // kMaxHeld bytes wait in memory.
    static constexpr std::size_t kAhead = kMaxHeld / kHeaderBytes;

    void work() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= paths.size() || next < taken + kAhead; });
            if (stop || next >= paths.size()) break;
            const std::size_t index = next++;
            const std::string& path = paths[index];
            lock.unlock();
            FileHeader header = read(path);
            lock.lock();
            if (index >= taken) done[index] = std::move(header);
            changed.notify_all();
        }
        --running;
        changed.notify_all();
    }
};

HeaderReads::HeaderReads(std::vector<std::string> paths, ReadHeader read) : shared_(std::make_shared<Shared>()) {
    shared_->paths = std::move(paths);
    shared_->read = std::move(read);
    shared_->done.resize(shared_->paths.size());
    const int readers = static_cast<int>(std::min<std::size_t>(kReaders, shared_->paths.size()));
    shared_->running = readers;
    for (int i = 0; i < readers; ++i) {
        try {
            std::thread([shared = shared_] { shared->work(); }).detach();
        } catch (const std::system_error&) {
            // No more threads: the readers started do the work, or take does.
            std::lock_guard lock(shared_->mutex);
            shared_->running -= readers - i;
            break;
        }
    }
}

HeaderReads::~HeaderReads() {
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->changed.notify_all();
    shared_->changed.wait_for(lock, std::chrono::seconds(1), [&] { return shared_->running == 0; });
}

std::optional<FileHeader> HeaderReads::take(std::size_t index, std::chrono::milliseconds wait) {
    std::unique_lock lock(shared_->mutex);
    if (index >= shared_->paths.size()) return std::nullopt;
    for (std::size_t k = shared_->taken; k < index; ++k) shared_->done[k].reset();
    if (index > shared_->taken) {
        shared_->taken = index;
        shared_->changed.notify_all();
    }
    if (shared_->running == 0 && !shared_->done[index] && shared_->next <= index) {
        lock.unlock();
        FileHeader header = shared_->read(shared_->paths[index]);
        lock.lock();
        shared_->done[index] = std::move(header);
        shared_->next = std::max(shared_->next, index + 1);
    }
    if (!shared_->changed.wait_for(lock, wait, [&] { return shared_->done[index].has_value(); })) return std::nullopt;
    std::optional<FileHeader> header = std::move(shared_->done[index]);
    shared_->done[index].reset();
    shared_->taken = index + 1;
    shared_->changed.notify_all();
    return header;
}

HeaderReads::ReadHeader HeaderReads::default_read() {
    return [](const std::string& path) { return read_file_header(path, kHeaderBytes); };
}

}  // namespace imaging
