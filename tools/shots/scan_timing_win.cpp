// coiffure_shots scan FOLDER: times a scan of a library folder into a gallery, and where the time
// goes: every call the scan makes into the file system and the list view is timed on its way
// through; what remains is the scan's own work (the thumbnails, mostly). Ends with fingerprints
// of what the gallery shows, so that a faster scan can be checked to show the same.
#include "scan_timing_win.h"

#include <cstdio>
#include <optional>

#include "gallery/gallery_win.h"
#include "toolkit/gdi_win.h"

namespace coiffure {
namespace {

class Clock {
 public:
  Clock() { QueryPerformanceFrequency(&f_); }
  double Ms() const {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f_.QuadPart);
  }

 private:
  LARGE_INTEGER f_;
};

struct Times {
  Clock clock;
  double search = 0, read = 0, decode = 0, images = 0, entries = 0;
};

// Adds the time of its own life to a total.
class Span {
 public:
  Span(const Clock& c, double& total) : c_(c), total_(total), t0_(c.Ms()) {}
  ~Span() { total_ += c_.Ms() - t0_; }
  Span(const Span&) = delete;
  Span& operator=(const Span&) = delete;

 private:
  const Clock& c_;
  double& total_;
  double t0_;
};

class TimedSearch : public DirectorySearch {
 public:
  TimedSearch(std::unique_ptr<DirectorySearch> s, Times& t) : s_(std::move(s)), t_(t) {}
  bool Next(DirEntry& e) override {
    Span span(t_.clock, t_.search);
    return s_->Next(e);
  }

 private:
  std::unique_ptr<DirectorySearch> s_;
  Times& t_;
};

class TimedDirectory : public Win32Directory {
 public:
  explicit TimedDirectory(Times& t) : t_(t) {}
  std::unique_ptr<DirectorySearch> Search(const std::string& pattern, uint32_t mask) override {
    Span span(t_.clock, t_.search);
    return std::make_unique<TimedSearch>(Win32Directory::Search(pattern, mask), t_);
  }
  // The two steps of the directory's loading, timed apart.
  void LoadPicture(const std::string& name, Picture& picture) override {
    {
      Span span(t_.clock, t_.read);
      loader_.Read(name);
    }
    Span span(t_.clock, t_.decode);
    loader_.Decode(picture);
  }

 private:
  Times& t_;
  RecyclingLoader loader_;
};

class TimedGallery : public ListViewGallery {
 public:
  TimedGallery(HWND lv, HIMAGELIST il, Times& t) : ListViewGallery(lv, il), t_(t) {}
  void AddThumbnail(const Thumbnail& thumbnail) override {
    Span span(t_.clock, t_.images);
    ListViewGallery::AddThumbnail(thumbnail);
  }
  int AddEntry(const std::string& caption) override {
    Span span(t_.clock, t_.entries);
    return ListViewGallery::AddEntry(caption);
  }
  void SetImageIndex(int entry, int image) override {
    Span span(t_.clock, t_.entries);
    ListViewGallery::SetImageIndex(entry, image);
  }

 private:
  Times& t_;
};

uint64_t Fnv(uint64_t h, const void* p, size_t n) {
  for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const uint8_t*>(p)[i]) * 1099511628211ull;
  return h;
}

// Every cell drawn the three ways the gallery can draw it, into a 32-bit bitmap.
uint64_t CellsFingerprint(HIMAGELIST list) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(bi.bmiHeader), kThumbSide, -kThumbSide, 1, 32, BI_RGB};
  void* bits = nullptr;
  const MemoryDC mem;
  const HDC dc = mem.Get();
  const Bitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  ScopedSelect sel(dc, bmp.Get());
  const size_t bytes = size_t{kThumbSide} * kThumbSide * 4;
  uint64_t h = 1469598103934665603ull;
  for (int i = 0, n = ImageList_GetImageCount(list); i < n; ++i)
    for (UINT style : {ILD_NORMAL, ILD_MASK, ILD_TRANSPARENT}) {
      memset(bits, 0x5a, bytes);
      ImageList_Draw(list, i, dc, 0, 0, style);
      GdiFlush();
      h = Fnv(h, bits, bytes);
    }
  return h;
}

// Caption, image index and place of every entry.
uint64_t EntriesFingerprint(HWND lv) {
  uint64_t h = 1469598103934665603ull;
  for (int i = 0, n = ListView_GetItemCount(lv); i < n; ++i) {
    wchar_t text[MAX_PATH] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    SendMessageW(lv, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    POINT at{};
    ListView_GetItemPosition(lv, i, &at);
    h = Fnv(h, text, wcslen(text) * sizeof(wchar_t));
    h = Fnv(h, &item.iImage, sizeof item.iImage);
    h = Fnv(h, &at, sizeof at);
  }
  return h;
}

}  // namespace

int TimeScan(const std::wstring& folder) {
  // Shown and styled as the main window's gallery, so the list view does the same work per entry.
  HWND lv = CreateWindowExW(
      0, WC_LISTVIEWW, L"",
      WS_POPUP | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE | LVS_SINGLESEL | LVS_EDITLABELS, 0, 0,
      229, 442, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateGalleryImageList(lv);
  ListView_SetIconSpacing(lv, 206, 222);
  SetCurrentDirectoryW(folder.c_str());
  Times t;
  const double t0 = t.clock.Ms();
  try {
    // The scan of ScanHairLibraryInto, through timed ports.
    TimedDirectory dir(t);
    std::optional<TimedGallery> gallery;
    gallery.emplace(
        lv, reinterpret_cast<HIMAGELIST>(SendMessageW(lv, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), t);
    ScanIntoListView(lv, dir, *gallery);
    Span span(t.clock, t.images);
    gallery.reset();  // lets the image list go of its spare cells
  } catch (const PictureError& e) {
    std::printf("scan stopped: %s\n", e.what());
  }
  const double total = t.clock.Ms() - t0;
  const int n = ListView_GetItemCount(lv);
  std::printf("scanned %d pictures in %.1f ms\n", n, total);
  const double rest = total - t.search - t.read - t.decode - t.images - t.entries;
  const struct {
    const char* what;
    double ms;
  } parts[] = {{"directory search", t.search}, {"file reads", t.read},
               {"decoding", t.decode},         {"thumbnails and the rest", rest},
               {"image list", t.images},       {"list entries", t.entries}};
  for (const auto& p : parts)
    std::printf("  %-24s %8.1f ms  %6.3f ms a picture\n", p.what, p.ms, n ? p.ms / n : 0.0);
  const auto list =
      reinterpret_cast<HIMAGELIST>(SendMessageW(lv, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  std::printf("cells %d, fingerprint %016llx; entries fingerprint %016llx\n",
              ImageList_GetImageCount(list),
              static_cast<unsigned long long>(CellsFingerprint(list)),
              static_cast<unsigned long long>(EntriesFingerprint(lv)));
  return 0;
}

}  // namespace coiffure
