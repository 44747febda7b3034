#include <windows.h>

#include <gtest/gtest.h>

// The program's users run Chinese Windows: texts and the settings file are in
// the ANSI code page 936 there. Every other Windows test assumes it.
TEST(WineSetup, AnsiCodePageIs936) {
    ASSERT_EQ(GetACP(), 936u) << "Wine is not running with a Chinese locale. Run the tests through the README's "
                                 "test command, which generates zh_CN.UTF-8 and starts Wine with LANG=zh_CN.UTF-8.";
}

TEST(WineSetup, HasADisplay) {
    HWND desktop = GetDesktopWindow();
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(desktop, &rect));
    ASSERT_GT(rect.right - rect.left, 0) << "No display: run the Windows tests under xvfb-run.";
}
