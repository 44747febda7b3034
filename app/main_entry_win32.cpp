#include "app/command_line.h"
#include "app/main_window.h"
#include "filelist/main_model.h"
#include "platform/win32/message_dispatch.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    // The program-wide record exists before the first window and outlives the last.
    filelist::MainModel model;
    app::MainWindow window(model, [] { PostQuitMessage(0); });
    if (!window.create(show_command)) return 1;
    // BatchRename.exe FILE… or DIRECTORY, as Explorer's "Send to" gives them.
    window.hand_over(app::command_line_paths(GetCommandLineW()));
    return platform::win32::run_message_loop();
}
