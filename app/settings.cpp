#include "app/settings.h"

#include "platform/ini_file.h"
#include "platform/path.h"
#include "platform/program_directory.h"

namespace app {

namespace {
constexpr const char* kFileName = "配置.ini";
constexpr const char* kSection = "配置";
constexpr const char* kKey = "记录";
}  // namespace

std::string settings_path() { return platform::program_directory() + platform::kPathSeparator + kFileName; }

std::string load_settings() { return platform::read_ini_value(settings_path(), kSection, kKey); }

bool save_settings(const std::string& value) {
    return platform::write_ini_value(settings_path(), kSection, kKey, value);
}

}  // namespace app
