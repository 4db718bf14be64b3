// One picture file in, one hairstyle pair out in the library folder, or a clear refusal with
// nothing left behind.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "import/convert.h"
#include "pictures/picture_source.h"

namespace coiffure {

inline constexpr const char* kMsgNothingLeft = "去掉背景后没有剩下任何内容";
inline constexpr const char* kMsgFolderNotWritable = "无法写入发型库文件夹 ml_fx";
inline constexpr const char* kMsgNoFreeName = "发型库中同名的发型太多";
// The note of an import that LooksLikeAPhotoOfAPerson.
inline constexpr const char* kNoteLooksLikePhoto = "像是人物照片";

// A folder of the program's data (the library ml_fx, the photo's ml_data), by file names in it.
class LibraryFolder {
 public:
  virtual ~LibraryFolder() = default;
  // Creates the folder when it is missing; throws ImportError when it cannot.
  virtual void Prepare() = 0;
  // True when a file of that name exists, compared as the file system compares names.
  virtual bool Exists(const std::string& name) = 0;
  // Writes the bytes to a new file of a temporary name (TemporaryName) that no other file has,
  // created by this call alone; returns the name. Throws ImportError on failure, leaving nothing.
  virtual std::string WriteTemporary(const std::string& role, std::span<const uint8_t> bytes) = 0;
  // Renames without ever replacing an existing file; false when it did not happen.
  virtual bool MoveNoReplace(const std::string& from, const std::string& to) = 0;
  // Renames in one step over the file `to` if there is one; false when it did not happen.
  virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& name) = 0;
};

struct ImportResult {
  std::string path;  // the picture file as given
  bool imported = false;
  std::string picture;  // on success: the style's picture file name in the library
  std::string message;  // on refusal: why, in Chinese
  std::string note;     // on success: what else the operator should know of it, or nothing
};

// Writes a pair into the library: both files under temporary names of this process's own first,
// then the mask and last the picture renamed to the first free names for stem, so the scan never
// meets a half-written style. Never overwrites. Returns the picture's name; on failure throws
// ImportError and leaves nothing behind.
std::string WritePair(LibraryFolder& folder, const std::string& stem,
                      std::span<const uint8_t> colour, std::span<const uint8_t> mask);

// Decodes, converts and writes the pair through WritePair. Every failure is turned into a
// refusal.
ImportResult ImportPicture(const std::string& path, PictureSource& source, LibraryFolder& folder);

// The text a result shows: "已导入为 NAME" or "未导入：REASON".
std::string ResultText(const ImportResult& result);

int CountNotImported(const std::vector<ImportResult>& results);

}  // namespace coiffure
