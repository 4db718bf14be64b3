// Texts the application derives for itself: its title, the error box text, data paths.
#pragma once

#include <string>

namespace coiffure {

// The executable's file name up to its first dot, every letter after the first in lower case.
std::string AppTitleFromExePath(const std::string& exe_path);

// The error's message with a full stop added when its last character sorts after ".".
std::string ErrorBoxText(const std::string& message);

// The folder part of a full path, up to and including the last backslash.
std::string FolderOf(const std::string& path);

}  // namespace coiffure
