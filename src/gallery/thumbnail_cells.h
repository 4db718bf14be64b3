// The cells of the gallery's thumbnail list, and which library picture each one holds, so that
// thumbnails made ahead of a scan (while the splash is up) serve the scan wherever it meets the
// same pictures again, also after pictures were added, removed or changed in between.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "gallery/library_changes.h"
#include "gallery/scan.h"
#include "gallery/thumbnail.h"

namespace coiffure {

// The platform's image list, as the cells need it.
class CellStore {
 public:
  virtual ~CellStore() = default;
  virtual int Capacity() = 0;
  // Grows the list with blank cells or cuts it to this many; throws when the platform refuses.
  virtual void Resize(int cells) = 0;
  // Puts a thumbnail into an existing cell; throws when the platform refuses.
  virtual void Replace(int cell, const Thumbnail& thumbnail) = 0;
  // Copies one cell's picture and mask over another's.
  virtual void Copy(int to, int from) = 0;
};

// Cells 0 .. Count()-1 are the gallery's thumbnails, in order. After Rewind the cells made so far
// are "made ahead": a later Take of the same picture reuses its cell's content, moved into place.
// Cells are taken in their order only (a picture met out of order is made again), which lets
// every move be made with plain copies that never overwrite a cell still to be read: a move to an
// earlier place is made at once, a move to a later place, and a new thumbnail whose place still
// holds something made ahead, wait until nothing later can need that place (or until too many
// thumbnails wait, when the cells so far are settled and the earlier ones given up).
class ThumbnailCells {
 public:
  // The cells already in the list are thumbnails of the gallery: the scan appends after them.
  explicit ThumbnailCells(CellStore& store);

  int Count() const { return count_; }
  // The picture the next Add is for, or none; a preparation records it as the cell's content.
  void Expect(std::optional<PictureStamp> stamp) { expected_ = std::move(stamp); }
  // True when a cell made ahead holds this picture and can serve as the next cell.
  bool Take(const PictureStamp& stamp);
  // The next cell gets this thumbnail.
  void Add(const Thumbnail& thumbnail);
  // Starts the gallery afresh: the cells made so far become the ones made ahead, but for those
  // of pictures that changed since they were read.
  void Rewind(const LibraryChanges& changed = {});
  // Nothing made ahead is to be taken any more.
  void Forget();
  // Carries out every move still waiting and cuts the cells after the last thumbnail away.
  void Finish();

  // Thumbnails kept waiting at most, so that a library changed throughout costs little memory.
  static constexpr size_t kMaxWaiting = 32;

 private:
  struct Waiting {
    int cell;
    int from;                            // the cell to copy, or -1 for a thumbnail
    std::optional<Thumbnail> thumbnail;  // kept until its cell is free
  };
  static std::string Key(const PictureStamp& s);
  void Reserve(int cells);
  void Settle();

  CellStore& store_;
  int count_ = 0;
  int capacity_ = 0;
  std::optional<PictureStamp> expected_;
  std::vector<std::string> made_;               // by cell: the picture in it, "" when unknown
  std::unordered_map<std::string, int> ahead_;  // the cells made ahead, by picture
  int ahead_count_ = 0;                         // cells made ahead: 0 .. ahead_count_ - 1
  int last_taken_ = -1;           // cells made ahead at or below this can no longer be taken
  std::vector<Waiting> waiting_;  // in the order of their cells
  size_t waiting_thumbnails_ = 0;
};

}  // namespace coiffure
