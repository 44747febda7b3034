#include "app/command_line.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace app {

std::vector<std::string> command_line_paths(const wchar_t* command_line) {
    int count = 0;
    std::unique_ptr<LPWSTR, platform::win32::LocalMemoryFreer> arguments(CommandLineToArgvW(command_line, &count));
    std::vector<std::string> paths;
    for (int i = 1; arguments && i < count; ++i) paths.push_back(platform::win32::narrow(arguments.get()[i]));
    return paths;
}

}  // namespace app
