#include "desk/picture_paths.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "import/naming.h"

namespace coiffure {

namespace {

// What the platform's imaging component decodes on every system, and what it decodes where its
// extensions are installed (HEIF, AVIF): the rest are refused with their reason.
constexpr std::array<std::string_view, 12> kPictureExtensions = {
    ".png", ".jpg",  ".jpeg", ".jpe",  ".jfif", ".gif",
    ".tif", ".tiff", ".bmp",  ".heic", ".heif", ".avif"};

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The part of a path before its last name: "" for a bare name, "C:" for "C:x".
std::string FolderPart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos) return path.substr(0, slash + 1);
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

bool IsPattern(const std::string& path) {
  return path.find_first_of("*?", FolderPart(path).size()) != std::string::npos;
}

// Where a character sorts among ASCII ones: blanks and punctuation, digits, letters; then every
// other byte (UTF-8 bytes keep the order of the code points they spell).
int Rank(unsigned char c) {
  if (c >= 0x80) return 3;
  if (c >= '0' && c <= '9') return 1;
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return 2;
  return 0;
}

bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// <0, 0, >0 as the runs of digits at a and b have smaller, equal or larger values.
int CompareNumbers(std::string_view a, std::string_view b) {
  const auto significant = [](std::string_view d) {
    const size_t first = d.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : d.substr(first);
  };
  const std::string_view x = significant(a), y = significant(b);
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return x.compare(y);
}

int CompareNames(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const unsigned char x = a[i], y = b[j];
    if (IsDigit(x) && IsDigit(y)) {
      size_t i1 = i, j1 = j;
      while (i1 < a.size() && IsDigit(a[i1])) ++i1;
      while (j1 < b.size() && IsDigit(b[j1])) ++j1;
      if (const int c = CompareNumbers(a.substr(i, i1 - i), b.substr(j, j1 - j))) return c;
      i = i1, j = j1;
      continue;
    }
    if (Rank(x) != Rank(y)) return Rank(x) < Rank(y) ? -1 : 1;
    const int fx = x >= 'A' && x <= 'Z' ? x + 32 : x, fy = y >= 'A' && y <= 'Z' ? y + 32 : y;
    if (fx != fy) return fx < fy ? -1 : 1;
    ++i, ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return 0;
}

std::vector<std::string> SortedWithFolder(std::vector<std::string> names, const std::string& in) {
  std::sort(names.begin(), names.end(), NameLess);
  for (std::string& n : names) n = in + n;
  return names;
}

std::vector<std::string> Expand(const std::string& arg, PathLister& paths) {
  std::vector<std::string> names;
  if (IsPattern(arg)) {
    for (PathLister::Entry& e : paths.Find(arg))
      if (!e.folder) names.push_back(std::move(e.name));
    if (names.empty()) return {arg};  // the line then says it cannot be opened
    return SortedWithFolder(std::move(names), FolderPart(arg));
  }
  if (arg.empty() || !paths.IsFolder(arg)) return {arg};
  const bool ends = IsSeparator(arg.back()) || arg.back() == ':';
  const std::string folder = ends ? arg : arg + "\\";
  for (PathLister::Entry& e : paths.Find(folder + "*"))
    if (!e.folder && HasPictureExtension(e.name)) names.push_back(std::move(e.name));
  if (names.empty()) return {arg};  // its line says it holds no picture
  return SortedWithFolder(std::move(names), folder);
}

}  // namespace

bool HasPictureExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = LowerAscii(name.substr(dot));
  return std::find(kPictureExtensions.begin(), kPictureExtensions.end(), ext) !=
         kPictureExtensions.end();
}

std::string PictureDialogFilter() {
  std::string patterns;
  for (std::string_view ext : kPictureExtensions)
    patterns += (patterns.empty() ? "*" : ";*") + std::string(ext);
  return "图片文件 (" + patterns + ")|" + patterns + "|所有文件 (*.*)|*.*|";
}

bool NameLess(const std::string& a, const std::string& b) {
  const int c = CompareNames(a, b);
  return c != 0 ? c < 0 : a < b;  // names equal but for case or zeros: still one order
}

std::vector<std::string> PictureFiles(const std::vector<std::string>& args, PathLister& paths) {
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    std::vector<std::string> these = Expand(arg, paths);
    files.insert(files.end(), std::make_move_iterator(these.begin()),
                 std::make_move_iterator(these.end()));
  }
  return files;
}

}  // namespace coiffure
