#include "platform/file_identity.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace platform {

bool is_same_file(const FileIdentity& a, const FileIdentity& b) { return a == b; }

void look_up_together(const std::vector<std::string>& paths) {
    constexpr std::size_t kAtOnce = 8;
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t k = next++; k < paths.size(); k = next++) look_up(paths[k]);
    };
    std::vector<std::thread> askers;
    for (std::size_t i = 1; i < std::min(kAtOnce, paths.size()); ++i) {
        // Fewer askers when the system gives no more threads: this one asks too.
        try {
            askers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& asker : askers) asker.join();
}

}  // namespace platform
