// UTF-8 inside, UTF-16 at the Win32 boundary.
#pragma once

#include <string>
#include <string_view>

namespace coiffure {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// Text in the system's ANSI code page, for the few A functions the program must call.
std::string ToAnsi(std::string_view utf8);

// Full path of the running executable, and its folder ending in a backslash (UTF-8).
std::string ExePath();
std::string AppFolder();

}  // namespace coiffure
