// The library scan made ahead, while the splash is up.
#include <exception>

#include "gallery/gallery_win.h"
#include "gallery/library_watch_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

// The library by full paths: the preparation never changes the process's current folder, which
// the program's first show and its snapshot rely on.
class LibraryPreparation::Folder : public DirectoryPort {
 public:
  Folder(std::string root, LibraryWatch& watch) : root_(std::move(root)), watch_(watch) {}

  std::unique_ptr<DirectorySearch> Search(const std::string& pattern, uint32_t mask) override {
    return SearchFolder(Current() + pattern, mask);
  }
  bool ChangeFolder(const std::string& relative) override {
    if (relative == "..") {
      if (path_.empty()) return false;
      path_.pop_back();
      return true;
    }
    const DWORD attributes = GetFileAttributesW(Widen(Current() + relative).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return false;
    path_.push_back(relative + "\\");
    // Watched from before it is listed: a change after that cannot go unnoticed.
    watch_.Watch(Current().substr(root_.size()));
    return true;
  }
  std::string CurrentFolderId() override { return FolderId(Widen(Current())); }
  void LoadPicture(const std::string& name, Picture& picture) override {
    loader_.Load(Current() + name, picture);
  }

 private:
  std::string Current() const {
    std::string s = root_;
    for (const std::string& p : path_) s += p;
    return s;
  }
  std::string root_;
  LibraryWatch& watch_;
  std::vector<std::string> path_;
  RecyclingLoader loader_;
};

// Thumbnails into the cells, each recorded as the picture it was made from; nothing is listed.
class LibraryPreparation::Gallery : public GalleryPort {
 public:
  Gallery(HIMAGELIST images, ThumbnailCells& cells) : images_(images), cells_(cells) {}
  void SetBackgroundColor(uint32_t colorref) override { ImageList_SetBkColor(images_, colorref); }
  bool BeginPicture(const PictureStamp& stamp) override {
    cells_.Expect(stamp);
    return false;
  }
  void AddThumbnail(const Thumbnail& thumbnail) override { cells_.Add(thumbnail); }
  int ThumbnailCount() override { return cells_.Count(); }
  int AddEntry(const std::string&) override { return entries_++; }
  void SetImageIndex(int, int) override {}
  int EntryCount() override { return entries_; }

 private:
  HIMAGELIST images_;
  ThumbnailCells& cells_;
  int entries_ = 0;
};

namespace {

std::string PreparedRoot(const std::string& library) {
  const DWORD attributes = GetFileAttributesW(Widen(library).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return library;
  std::wstring cwd(MAX_PATH * 4, L'\0');
  cwd.resize(GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), cwd.data()));
  std::string root = Narrow(cwd);
  if (!root.empty() && root.back() != '\\') root += '\\';
  return root;
}

}  // namespace

LibraryPreparation::LibraryPreparation(HIMAGELIST images, const std::string& library)
    : images_(images),
      initial_background_(ImageList_GetBkColor(images)),
      store_(images),
      cells_(store_) {
  const std::string root = PreparedRoot(library);
  watch_ = std::make_unique<LibraryWatch>(root);
  watch_->Watch("");
  folder_ = std::make_unique<Folder>(root, *watch_);
  gallery_ = std::make_unique<Gallery>(images_, cells_);
  root_id_ = FolderId(Widen(root));
  scan_ = std::make_unique<LibraryScan>(*folder_, *gallery_);
}

LibraryPreparation::~LibraryPreparation() = default;

bool LibraryPreparation::Work(std::chrono::milliseconds budget) {
  if (!scan_) return false;
  // Taken in as the work goes, so that a library changed throughout keeps its reports.
  watch_->Collect();
  const auto end = std::chrono::steady_clock::now() + budget;
  try {
    while (scan_->Step())
      if (std::chrono::steady_clock::now() >= end) return true;
  } catch (const std::exception&) {
    // Not reported here, over the splash: the scan at first show meets it again.
  }
  scan_.reset();
  return false;
}

ThumbnailCells& LibraryPreparation::CellsForScan(DirectoryPort& dir) {
  scan_.reset();
  // The image list as the form made it: the scan sets its own background when it adds.
  ImageList_SetBkColor(images_, initial_background_);
  cells_.Rewind(watch_->Finish());
  const std::string here = dir.CurrentFolderId();
  if (here.empty() || here != root_id_) cells_.Forget();
  return cells_;
}

}  // namespace coiffure
