#include "gallery/library_changes.h"

namespace coiffure {

namespace {

std::string Folded(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

void LibraryChanges::Note(const std::string& folder, const std::string& name) {
  // A name may come in its short 8.3 form, which no path of the scan spells; a name with a
  // separator is not one of this folder's own. Either way the folder is in doubt.
  if (name.empty() || name.find('~') != std::string::npos ||
      name.find_first_of("\\/") != std::string::npos) {
    NoteFolder(folder);
    return;
  }
  paths_.insert(Folded(folder + name));
}

void LibraryChanges::NoteFolder(const std::string& folder) {
  if (folder.empty() || folder == "\\") {
    everything_ = true;
    return;
  }
  const bool slash = folder.back() == '\\';
  paths_.insert(Folded(folder.substr(0, folder.size() - (slash ? 1 : 0))));
}

bool LibraryChanges::Touches(const std::string& path) const {
  if (everything_) return true;
  if (paths_.empty()) return false;
  const std::string p = Folded(path);
  // The picture itself, or any folder on its way: a folder renamed or replaced changes all
  // that it holds.
  for (size_t at = p.find('\\'); at != std::string::npos; at = p.find('\\', at + 1))
    if (paths_.count(p.substr(0, at))) return true;
  return paths_.count(p) != 0;
}

}  // namespace coiffure
