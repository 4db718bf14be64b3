// The command line's colour variants and its report lines, on the real file system.
#pragma once

#include <string>

#include "desk/command_line.h"
#include "desk/library_folder_win.h"
#include "import/importer.h"

namespace coiffure {

// RunShades in the library folder: a file is the library's style when it is a bare name the
// library holds or lies in the library folder, else it is imported first. Returns the number
// of variants not made.
int RunShadeCommand(const ImportCommand& command, PictureSource& source,
                    Win32LibraryFolder& folder);

// Writes a line of UTF-8 text to the standard output, when the program was given one (a
// program with a window has none unless its caller redirected it); else does nothing.
void ReportLine(const std::string& text);

}  // namespace coiffure
