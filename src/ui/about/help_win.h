// The help command: the shell opens ml_help\help.chm of the application folder.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

namespace coiffure {

// ShellExecuteA's shape, so that tests can see the call instead of starting a viewer.
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// The application folder followed by "\ml_help\help.chm" (the separator comes out doubled, which
// the platform reads as one), in the ANSI code page.
std::string HelpFilePathAnsi();

// Opens the help file; the shell's result is not looked at.
void OpenHelpFile(HWND owner, ShellExecuteFn shell = ShellExecuteA);

}  // namespace coiffure
