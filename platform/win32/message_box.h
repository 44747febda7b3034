#pragma once

#include <windows.h>

#include <string_view>

// Every message box of the program, shown from here: one title, one way.
namespace platform::win32 {

enum class MessageKind { Error, Warning };

// Shows text with an OK button, owned by owner; returns when the user has
// dismissed it.
void show_message(HWND owner, std::string_view text, MessageKind kind);

// Asks a question with 是 and 否; true for 是.
bool ask_yes_no(HWND owner, std::string_view text);

}  // namespace platform::win32
