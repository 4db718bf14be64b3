#include "toolkit/app_text.h"

namespace coiffure {

std::string AppTitleFromExePath(const std::string& exe_path) {
  const size_t slash = exe_path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? exe_path : exe_path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  for (size_t i = 1; i < name.size(); ++i) {
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  }
  return name;
}

std::string ErrorBoxText(const std::string& message) {
  // Compared as bytes: every byte of a multi-byte UTF-8 character sorts after ".".
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace coiffure
