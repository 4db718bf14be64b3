// Fills the gallery from the hairstyle library: the current folder and its matching sub-folders.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gallery/thumbnail.h"
#include "imaging/picture.h"

namespace coiffure {

inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrVolume = 0x08;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
// Every file and folder, hidden and system ones included; only volume labels are left out.
inline constexpr uint32_t kLibraryAttrMask = 0x37;

inline constexpr const char* kMsgInvalidImageSize = "Invalid image size";
// No folder deeper than this below the library is searched; it stops folder chains that a
// loop of links or a hostile tree could make endless.
inline constexpr int kMaxFolderDepth = 32;
// No more folders than this are entered in one scan: a tree whose folders cannot be told apart
// (no identity) and that branches back on itself would otherwise grow exponentially.
inline constexpr int kMaxFoldersEntered = 4096;

// True when an entry with these attributes passes a search with this attribute mask: the
// hidden, system, volume and directory bits must each be allowed by the mask; all other bits
// (read-only, archive, normal, compressed, ...) never exclude an entry.
bool AttributesPass(uint32_t attributes, uint32_t mask);

// The plain reading of the pattern "*.bmp": the long name ends in ".bmp" in any case. (The
// platform's own match can also let through names like "x.bmpx" by their short 8.3 names.)
bool MatchesBmpPattern(const std::string& name);

struct DirEntry {
  std::string name;  // UTF-8, no folder
  uint32_t attributes = 0;
  uint64_t size = 0;        // bytes, as the directory search reports them
  uint64_t write_time = 0;  // last write, in the platform's own units
};

// A library picture as the directory search describes it: its folder below the library (each
// name followed by a backslash; nothing at the top), its name, size and last write. Two equal
// stamps are taken to mean the same picture, so a thumbnail made from one serves the other.
struct PictureStamp {
  std::string path;  // folder and name
  uint64_t size = 0, write_time = 0;
  friend bool operator==(const PictureStamp&, const PictureStamp&) = default;
};

// One running directory search; closing it releases the platform's handle.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // The next entry in directory order, or false when there is none left.
  virtual bool Next(DirEntry& entry) = 0;
};

// What the scan needs of the file system. Names are relative to the current folder.
class DirectoryPort {
 public:
  virtual ~DirectoryPort() = default;
  // Searches the current folder for the pattern, yielding only entries that pass the mask.
  virtual std::unique_ptr<DirectorySearch> Search(const std::string& pattern, uint32_t mask) = 0;
  // Makes the relative folder current; false when it could not be entered.
  virtual bool ChangeFolder(const std::string& relative) = 0;
  // A stable identity of the current folder (the same folder reached by another path gives
  // the same value), or empty when it cannot be told.
  virtual std::string CurrentFolderId() = 0;
  // Loads picture from the file of that name in the current folder; throws PictureError and
  // leaves picture unchanged on failure.
  virtual void LoadPicture(const std::string& name, Picture& picture) = 0;
};

// What the scan needs of the gallery list and its image list.
class GalleryPort {
 public:
  virtual ~GalleryPort() = default;
  virtual void SetBackgroundColor(uint32_t colorref) = 0;
  // Adds exactly one cell; throws when the platform refuses it.
  virtual void AddThumbnail(const Thumbnail& thumbnail) = 0;
  virtual int ThumbnailCount() = 0;
  // Appends an entry with image index 0 and returns its index.
  virtual int AddEntry(const std::string& caption) = 0;
  virtual void SetImageIndex(int entry, int image) = 0;
  virtual int EntryCount() = 0;
  // The scan is about to add this picture. True when the next cell already holds its thumbnail
  // (made ahead of the scan) and counts as added: the scan then neither loads the picture nor
  // makes the thumbnail.
  virtual bool BeginPicture(const PictureStamp&) { return false; }
};

// Lists the current folder into the gallery and descends into sub-folders whose names match
// "*.bmp". A picture that cannot be loaded or added ends the whole scan with its error; what
// was added stays, and the current folder is left where the error happened.
void ScanHairLibrary(DirectoryPort& dir, GalleryPort& gallery);

// The same scan taken one directory entry at a time, so that it can run in the gaps of a message
// loop. Step() throws the scan's error; the scan must not be stepped again after it.
class LibraryScan {
 public:
  LibraryScan(DirectoryPort& dir, GalleryPort& gallery);
  ~LibraryScan();
  LibraryScan(const LibraryScan&) = delete;
  LibraryScan& operator=(const LibraryScan&) = delete;
  // Handles one entry, or ends a folder level. False once the whole scan is done.
  bool Step();

  struct State;  // the scan's progress, kept in the source file

 private:
  std::unique_ptr<State> s_;
};

}  // namespace coiffure
