#include "gallery/gallery_win.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const char* kMsgOutOfResources = "Out of system resources";
constexpr COLORREF kImageListInitialBk = RGB(216, 228, 248);  // 16311512

class FindSearch : public DirectorySearch {
 public:
  FindSearch(const std::string& pattern, uint32_t mask) : mask_(mask) {
    handle_ = FindFirstFileW(Widen(pattern).c_str(), &data_);
    pending_ = handle_ != INVALID_HANDLE_VALUE;
  }
  ~FindSearch() override {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;

  bool Next(DirEntry& entry) override {
    for (;;) {
      if (!pending_ && (handle_ == INVALID_HANDLE_VALUE || !FindNextFileW(handle_, &data_)))
        return false;
      pending_ = false;
      if (!AttributesPass(data_.dwFileAttributes, mask_)) continue;
      entry.name = Narrow(data_.cFileName);
      if (!MatchesBmpPattern(entry.name)) continue;
      entry.attributes = data_.dwFileAttributes;
      entry.size = (uint64_t{data_.nFileSizeHigh} << 32) | data_.nFileSizeLow;
      entry.write_time = (uint64_t{data_.ftLastWriteTime.dwHighDateTime} << 32) |
                         data_.ftLastWriteTime.dwLowDateTime;
      return true;
    }
  }

 private:
  uint32_t mask_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data_{};
  bool pending_ = false;
};

Bitmap ColourBitmap(const Picture& image) {
  const BITMAPINFO bi = TopDownBgr24Info(image.Width(), image.Height());
  void* bits = nullptr;
  Bitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || !bits) return Bitmap();
  const size_t stride = PaddedRowBytes(static_cast<size_t>(image.Width()), 24);
  for (int y = 0; y < image.Height(); ++y)
    memcpy(static_cast<uint8_t*>(bits) + stride * y, image.Row(y),
           static_cast<size_t>(image.Width()) * 3);
  GdiFlush();
  return bmp;
}

// A shown list view that arranges its icons re-arranges and invalidates every entry on each
// insertion, which makes a scan quadratic: drawing is held off for the scan, and the list is
// drawn once after it, on every way out.
class RedrawHold {
 public:
  explicit RedrawHold(HWND listview) : listview_(listview) {
    SendMessageW(listview_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawHold() {
    SendMessageW(listview_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listview_, nullptr, TRUE);
  }
  RedrawHold(const RedrawHold&) = delete;
  RedrawHold& operator=(const RedrawHold&) = delete;

 private:
  HWND listview_;
};

}  // namespace

std::unique_ptr<DirectorySearch> SearchFolder(const std::string& pattern, uint32_t mask) {
  return std::make_unique<FindSearch>(pattern, mask);
}

std::unique_ptr<DirectorySearch> Win32Directory::Search(const std::string& pattern, uint32_t mask) {
  return SearchFolder(pattern, mask);
}

bool Win32Directory::ChangeFolder(const std::string& relative) {
  return SetCurrentDirectoryW(Widen(relative).c_str()) != FALSE;
}

std::string FolderId(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  const BOOL ok = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  if (!ok) return {};
  char id[40];
  std::snprintf(id, sizeof id, "%08lx:%08lx%08lx", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                info.nFileIndexLow);
  return id;
}

std::string Win32Directory::CurrentFolderId() {
  return FolderId(L".");
}

void Win32Directory::LoadPicture(const std::string& name, Picture& picture) {
  loader_.Load(name, picture);
}

int ImageListStore::Capacity() {
  return ImageList_GetImageCount(images_);
}

void ImageListStore::Resize(int cells) {
  if (!ImageList_SetImageCount(images_, static_cast<UINT>(cells)))
    throw PictureError(kMsgOutOfResources);
}

void ImageListStore::Replace(int cell, const Thumbnail& t) {
  const Bitmap image = ColourBitmap(t.image);
  const Bitmap mask(CreateBitmap(t.image.Width(), t.image.Height(), 1, 1, t.mask.data()));
  if (!image || !mask || !ImageList_Replace(images_, cell, image.Get(), mask.Get()))
    throw PictureError(kMsgOutOfResources);
}

void ImageListStore::Copy(int to, int from) {
  // A plain copy: the platform's swap (ILCF_SWAP) is not exact under Wine.
  ImageList_Copy(images_, to, images_, from, ILCF_MOVE);
}

ListViewGallery::ListViewGallery(HWND listview, HIMAGELIST images)
    : listview_(listview),
      images_(images),
      own_store_(images),
      cells_(own_cells_.emplace(own_store_)) {}

ListViewGallery::ListViewGallery(HWND listview, HIMAGELIST images, ThumbnailCells& cells)
    : listview_(listview), images_(images), own_store_(images), cells_(cells) {}

ListViewGallery::~ListViewGallery() {
  try {
    cells_.Finish();
  } catch (const std::exception&) {
    // Only on the way out of a failed scan, whose own error is the one reported.
  }
}

void ListViewGallery::SetBackgroundColor(uint32_t colorref) {
  ImageList_SetBkColor(images_, colorref);
}

bool ListViewGallery::BeginPicture(const PictureStamp& stamp) {
  cells_.Expect(stamp);
  return cells_.Take(stamp);
}

void ListViewGallery::AddThumbnail(const Thumbnail& t) {
  cells_.Add(t);
}

int ListViewGallery::ThumbnailCount() {
  return cells_.Count();
}

int ListViewGallery::AddEntry(const std::string& caption) {
  std::wstring text = Widen(caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = EntryCount();
  item.iImage = 0;
  item.pszText = text.data();
  const int index = static_cast<int>(
      SendMessageW(listview_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) throw PictureError(kMsgOutOfResources);
  return index;
}

void ListViewGallery::SetImageIndex(int entry, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = entry;
  item.iImage = image;
  SendMessageW(listview_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int ListViewGallery::EntryCount() {
  return static_cast<int>(SendMessageW(listview_, LVM_GETITEMCOUNT, 0, 0));
}

int ListViewSelection::EntryCount() {
  return static_cast<int>(SendMessageW(listview_, LVM_GETITEMCOUNT, 0, 0));
}

bool ListViewSelection::IsSelected(int entry) {
  return (SendMessageW(listview_, LVM_GETITEMSTATE, static_cast<WPARAM>(entry), LVIS_SELECTED) &
          LVIS_SELECTED) != 0;
}

int ListViewSelection::ItemIndex() {
  return static_cast<int>(
      SendMessageW(listview_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string ListViewSelection::Caption(int entry) {
  // The text can be any length after an edit in place: grow until it fits.
  std::vector<wchar_t> buf(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(buf.size());
    const size_t n = static_cast<size_t>(SendMessageW(
        listview_, LVM_GETITEMTEXTW, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(&item)));
    if (n + 1 < buf.size() || buf.size() >= (size_t{1} << 20))
      return Narrow(std::wstring_view(buf.data(), std::min(n, buf.size() - 1)));
    buf.resize(buf.size() * 4);
  }
}

ImageList CreateGalleryImageList(HWND listview) {
  ImageList list(ImageList_Create(kThumbSide, kThumbSide, ILC_COLOR24 | ILC_MASK, 0, 16));
  if (!list) throw PictureError(kMsgOutOfResources);
  ImageList_SetBkColor(list.Get(), kImageListInitialBk);
  const HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessageW(listview, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(list.Get())));
  if (GetWindowLongPtrW(listview, GWL_STYLE) & LVS_SHAREIMAGELISTS) return list;
  // A list view that owns its lists takes the new one; the one it gave back is ours to free.
  const ImageList previous(old != list.Get() ? old : nullptr);
  list.Release();
  return ImageList();
}

void ScanHairLibraryInto(HWND listview, LibraryPreparation* prepared) {
  auto images = [listview] {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(listview, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  };
  if (!images()) CreateGalleryImageList(listview);
  Win32Directory dir;
  if (prepared && prepared->Images() == images()) {
    ListViewGallery gallery(listview, images(), prepared->CellsForScan(dir));
    ScanIntoListView(listview, dir, gallery);
    gallery.Finish();
    return;
  }
  ListViewGallery gallery(listview, images());
  ScanIntoListView(listview, dir, gallery);
  gallery.Finish();
}

void ScanIntoListView(HWND listview, DirectoryPort& dir, GalleryPort& gallery) {
  RedrawHold hold(listview);
  ScanHairLibrary(dir, gallery);
}

}  // namespace coiffure
