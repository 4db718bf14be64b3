// Times a library scan into a gallery list view and prints where the time goes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace coiffure {

// Scans the folder into a fresh list view styled as the main window's gallery.
int TimeScan(const std::wstring& folder);

}  // namespace coiffure
