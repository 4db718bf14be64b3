// The picture files that arguments, a drop or a dialog name: a folder stands for the pictures
// directly in it, a name with * or ? for the files it matches, as the platform matches names
// for a console user; anything else for itself.
#pragma once

#include <string>
#include <vector>

namespace coiffure {

// The file system as the expansion sees it.
class PathLister {
 public:
  struct Entry {
    std::string name;  // without its folder
    bool folder = false;
  };
  virtual ~PathLister() = default;
  virtual bool IsFolder(const std::string& path) = 0;
  // The entries a pattern (a folder, a separator, a name with * and ?) matches, by the
  // platform's own rules, without "." and ".."; none when the folder is not there.
  virtual std::vector<Entry> Find(const std::string& pattern) = 0;
};

// True when the name ends in an extension of a picture the desk reads (any case).
bool HasPictureExtension(const std::string& name);

// The open-file dialogs' filter: "图片文件 (*.png;…)|*.png;…|所有文件 (*.*)|*.*|".
std::string PictureDialogFilter();

// The order names are listed in, as Explorer lists them for names of letters and numbers: runs
// of digits by their value (IMG_2 before IMG_10), letters without regard to case, spaces and
// punctuation before digits before letters before any other character, which go by code point
// (Explorer's collation of Chinese characters is the system locale's; this one is fixed).
bool NameLess(const std::string& a, const std::string& b);

// Each argument in turn: a folder becomes the picture files directly in it (not in folders
// within it) in name order, or stays itself when it has none; a name whose last part holds *
// or ? becomes the files it matches (folders left out) in name order, or stays itself when it
// matches none, as a console user expects; anything else stays itself.
std::vector<std::string> PictureFiles(const std::vector<std::string>& args, PathLister& paths);

}  // namespace coiffure
