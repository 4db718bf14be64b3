#include "gallery/thumbnail_cells.h"

#include <algorithm>
#include <utility>

namespace coiffure {

namespace {
constexpr int kMinGrowth = 16;
}  // namespace

ThumbnailCells::ThumbnailCells(CellStore& store) : store_(store) {
  count_ = capacity_ = store_.Capacity();
  made_.resize(static_cast<size_t>(count_));
}

std::string ThumbnailCells::Key(const PictureStamp& s) {
  return s.path + '\0' + std::to_string(s.size) + '\0' + std::to_string(s.write_time);
}

void ThumbnailCells::Reserve(int cells) {
  if (cells <= capacity_) return;
  // By doubling: growing by a fixed step would copy every cell so far each time.
  const int grown = std::max({cells, kMinGrowth, 2 * capacity_});
  store_.Resize(grown);
  capacity_ = grown;
}

bool ThumbnailCells::Take(const PictureStamp& stamp) {
  const auto it = ahead_.find(Key(stamp));
  if (it == ahead_.end() || it->second <= last_taken_) return false;
  const int from = it->second, cell = count_++;
  last_taken_ = from;
  made_.resize(static_cast<size_t>(count_));
  made_[static_cast<size_t>(cell)] = it->first;
  // A later place: cell `from` and the ones before it are never taken again, so the copy over
  // this cell (made ahead, at most `from`) cannot lose anything still to be read.
  if (from > cell) store_.Copy(cell, from);
  if (from < cell) waiting_.push_back({cell, from, std::nullopt});
  return true;
}

void ThumbnailCells::Add(const Thumbnail& thumbnail) {
  const int cell = count_++;
  Reserve(count_);
  made_.resize(static_cast<size_t>(count_));
  made_[static_cast<size_t>(cell)] = expected_ ? Key(*expected_) : std::string();
  expected_.reset();
  // The cell still holds something made ahead that a later Take may need: wait.
  if (cell > last_taken_ && cell < ahead_count_) {
    waiting_.push_back({cell, -1, thumbnail});
    if (++waiting_thumbnails_ > kMaxWaiting) Settle();
    return;
  }
  store_.Replace(cell, thumbnail);
}

void ThumbnailCells::Settle() {
  // From the last place back: each cell is read before anything is written over it.
  for (auto w = waiting_.rbegin(); w != waiting_.rend(); ++w) {
    if (w->from >= 0)
      store_.Copy(w->cell, w->from);
    else
      store_.Replace(w->cell, *w->thumbnail);
  }
  waiting_.clear();
  waiting_thumbnails_ = 0;
  last_taken_ = std::max(last_taken_, count_ - 1);
}

void ThumbnailCells::Rewind(const LibraryChanges& changed) {
  Settle();
  ahead_.clear();
  for (int i = 0; i < count_; ++i) {
    const std::string& key = made_[static_cast<size_t>(i)];
    // The key begins with the picture's path, up to its first NUL.
    if (!key.empty() && !changed.Touches(key.substr(0, key.find('\0')))) ahead_[key] = i;
  }
  ahead_count_ = count_;
  count_ = 0;
  last_taken_ = -1;
  made_.clear();
  expected_.reset();
}

void ThumbnailCells::Forget() {
  Settle();
  ahead_.clear();
  ahead_count_ = 0;
}

void ThumbnailCells::Finish() {
  Settle();
  if (capacity_ > count_) {
    store_.Resize(count_);
    capacity_ = count_;
  }
}

}  // namespace coiffure
