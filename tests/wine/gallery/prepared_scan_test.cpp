// The library made ahead (as the splash's idle time makes it) and taken by the scan at first
// show: whatever changed in between, the gallery is what a scan at first show alone gives, entry
// for entry and pixel for pixel, and its errors come at first show, as that scan reports them.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

#include "wine/wine_helpers.h"
#include "wine/wine_support.h"

namespace coiffure {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using namespace std::chrono_literals;

// An application folder with the photo, the default hairstyle and the shipped library.
class LibraryApp {
 public:
  LibraryApp() {
    const fs::path release = fs::current_path();
    fs::remove_all(root_);
    fs::create_directories(root_ / L"ml_data");
    for (const wchar_t* f : {L"test.bmp", L"fx1.bmp", L"fx1mask.bmp"})
      fs::copy_file(release / L"ml_data" / f, root_ / L"ml_data" / f);
    fs::copy(release / L"ml_fx", Library());
    fs::create_directories(Library() / L"extra.bmp");
    Copy(L"bob_black", L"extra.bmp\\deep");
  }
  ~LibraryApp() {
    SetCurrentDirectoryW(saved_cwd_.c_str());
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path Library() const { return root_ / L"ml_fx"; }
  std::string Folder() const { return Narrow(root_.wstring()) + "\\"; }
  // A style pair under a new name, copied from a shipped one.
  void Copy(const std::wstring& from, const std::wstring& to) const {
    const fs::path release = fs::current_path() / L"ml_fx";
    fs::copy_file(release / (from + L".bmp"), Library() / (to + L".bmp"),
                  fs::copy_options::overwrite_existing);
    fs::copy_file(release / (from + L"mask.bmp"), Library() / (to + L"mask.bmp"),
                  fs::copy_options::overwrite_existing);
  }
  void Write(const std::wstring& name, const std::string& bytes) const {
    testing::WriteBytes(Narrow((Library() / name).wstring()), bytes);
  }

 private:
  fs::path root_ = fs::temp_directory_path() / L"coiffure_prepared";
  fs::path saved_cwd_ = fs::current_path();
};

// Everything the gallery shows: entries, their thumbnails' indexes, and every cell as the image
// list draws it, opaque and transparent.
struct GalleryShot {
  std::vector<std::wstring> captions;
  std::vector<int> images;
  std::vector<std::vector<uint32_t>> cells;
  COLORREF background = 0;
  friend bool operator==(const GalleryShot&, const GalleryShot&) = default;
};

// A cell as the image list draws it, in a style the gallery draws it in, over a ground no cell
// holds.
std::vector<uint32_t> CellBits(HIMAGELIST list, int cell, UINT style) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  auto* px = static_cast<uint32_t*>(bits);
  std::fill(px, px + 200 * 200, 0x123456u);
  ImageList_DrawEx(list, cell, dc, 0, 0, 200, 200, CLR_DEFAULT, CLR_DEFAULT, style);
  GdiFlush();
  std::vector<uint32_t> out(px, px + 200 * 200);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return out;
}

GalleryShot Shot(const TForm1& form) {
  GalleryShot shot;
  HWND lv = form.ListViewHandle();
  for (int i = 0; i < ListView_GetItemCount(lv); ++i) {
    wchar_t text[MAX_PATH] = {};
    ListView_GetItemText(lv, i, 0, text, MAX_PATH);
    shot.captions.push_back(text);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    ListView_GetItem(lv, &item);
    shot.images.push_back(item.iImage);
  }
  HIMAGELIST list = ListView_GetImageList(lv, LVSIL_NORMAL);
  shot.background = ImageList_GetBkColor(list);
  for (int i = 0; i < ImageList_GetImageCount(list); ++i) {
    std::vector<uint32_t> cell = CellBits(list, i, ILD_NORMAL);
    const std::vector<uint32_t> masked = CellBits(list, i, ILD_TRANSPARENT);
    cell.insert(cell.end(), masked.begin(), masked.end());
    shot.cells.push_back(std::move(cell));
  }
  return shot;
}

// A window whose library was made ahead, then shown after `change`, beside one shown without
// preparation: both galleries, and the boxes each first show raised.
struct Compared {
  GalleryShot prepared, fresh;
  std::vector<std::wstring> prepared_boxes, fresh_boxes;
  size_t boxes_while_preparing = 0;
  int cells_made_ahead = 0;
};

std::vector<std::wstring> Texts(const BoxRecorder& boxes) {
  std::vector<std::wstring> texts;
  for (const ShownBox& b : boxes.boxes) texts.push_back(b.text);
  return texts;
}

// steps: slices of the preparation before the change (each one directory entry at least), or
// -1 to change after it has finished.
Compared PrepareChangeAndShow(const LibraryApp& app, const std::function<void()>& change,
                              int steps = -1) {
  Compared c;
  BoxRecorder boxes;
  TForm1 prepared(TForm1::Options{nullptr, app.Folder()});
  for (int i = 0; i != steps && prepared.PrepareLibrary(0ms); ++i) {
  }
  if (steps >= 0) change();
  while (prepared.PrepareLibrary(8ms)) {
  }
  c.boxes_while_preparing = boxes.boxes.size();
  c.cells_made_ahead =
      ImageList_GetImageCount(ListView_GetImageList(prepared.ListViewHandle(), LVSIL_NORMAL));
  EXPECT_EQ(ListView_GetItemCount(prepared.ListViewHandle()), 0);  // nothing listed ahead
  if (steps < 0) change();
  prepared.Show();
  Pump();
  c.prepared = Shot(prepared);
  c.prepared_boxes = Texts(boxes);
  boxes.boxes.clear();
  TForm1 fresh(TForm1::Options{nullptr, app.Folder()});
  fresh.Show();
  Pump();
  c.fresh = Shot(fresh);
  c.fresh_boxes = Texts(boxes);
  return c;
}

void SetWriteTime(const fs::path& file, int days_on) {
  HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  FILETIME t;
  GetFileTime(h, nullptr, nullptr, &t);
  ULARGE_INTEGER v{{t.dwLowDateTime, t.dwHighDateTime}};
  v.QuadPart += static_cast<ULONGLONG>(days_on) * 864000000000ULL;
  t = {v.LowPart, v.HighPart};
  SetFileTime(h, nullptr, nullptr, &t);
  CloseHandle(h);
}

// A picture overwritten by one of the same size that keeps the old write time, as a copy of a
// style unpacked from the same archive leaves it.
void Overwrite(const LibraryApp& app, const std::wstring& name, const std::string& bytes) {
  const fs::path file = app.Library() / name;
  WIN32_FILE_ATTRIBUTE_DATA was{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &was);
  ASSERT_EQ(fs::file_size(file), bytes.size());
  app.Write(name, bytes);
  HANDLE h =
      CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &was.ftLastWriteTime);
  CloseHandle(h);
}

TEST(PreparedScan, ASameSizeSameTimeReplacementIsMadeAgainAndItsErrorReportedAsAtAColdStart) {
  const std::string afro = testing::ReadBytes("ml_fx\\afro_black.bmp");
  std::string broken = afro;
  broken[0] = 'X';  // no longer begins with the bitmap signature
  int slices = 0;   // of the whole preparation
  {
    LibraryApp app;
    TForm1 form(TForm1::Options{nullptr, app.Folder()});
    while (form.PrepareLibrary(0ms)) ++slices;
  }
  struct Case {
    const wchar_t* name;  // the picture replaced
    const std::string* bytes;
    int steps;  // slices of the preparation before the replacement; -1: after it finished
  };
  const Case cases[] = {
      {L"bob_black.bmp", &afro, -1},
      {L"extra.bmp\\deep.bmp", &afro, -1},
      {L"bob_black.bmp", &broken, -1},
      {L"extra.bmp\\deep.bmp", &broken, -1},
      // Every picture read, the preparation not yet over: 1.5 s into the splash.
      {L"bob_black.bmp", &afro, slices - 1},
      {L"extra.bmp\\deep.bmp", &broken, slices - 1},
      // The folder read, its pictures not yet: entries and bytes come from either side.
      {L"short_grey.bmp", &afro, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(Narrow(k.name) + " after " + std::to_string(k.steps) + " slices");
    LibraryApp app;
    const Compared c = PrepareChangeAndShow(
        app, [&] { Overwrite(app, k.name, *k.bytes); }, k.steps);
    EXPECT_EQ(c.fresh_boxes, k.bytes == &broken
                                 ? std::vector<std::wstring>{L"Bitmap image is not valid."}
                                 : std::vector<std::wstring>{});
    EXPECT_EQ(c.prepared_boxes, c.fresh_boxes);
    EXPECT_EQ(c.prepared.captions, c.fresh.captions);
    EXPECT_TRUE(c.prepared == c.fresh);
  }
}

TEST(PreparedScan, AChangedLibraryGivesTheGalleryOfAScanAtFirstShow) {
  LibraryApp app;
  const Compared c = PrepareChangeAndShow(app, [&] {
    app.Copy(L"afro_black", L"bob_black");  // other pixels, same size: only the time tells
    SetWriteTime(app.Library() / L"bob_black.bmp", 1);
    fs::remove(app.Library() / L"short_grey.bmp");
    app.Copy(L"curly_brown", L"added");
    fs::rename(app.Library() / L"pixie_blonde.bmp", app.Library() / L"renamed.bmp");
    app.Copy(L"buzz_black", L"extra.bmp\\deep");
    SetWriteTime(app.Library() / L"extra.bmp" / L"deep.bmp", 2);
  });
  EXPECT_EQ(c.boxes_while_preparing, 0u);
  EXPECT_GE(c.cells_made_ahead, 17);  // the 16 shipped styles and the one in extra.bmp
  EXPECT_TRUE(c.prepared_boxes.empty());
  EXPECT_TRUE(c.fresh_boxes.empty());
  EXPECT_EQ(c.prepared.captions, c.fresh.captions);
  EXPECT_EQ(c.prepared.images, c.fresh.images);
  EXPECT_EQ(c.prepared.background, c.fresh.background);
  ASSERT_EQ(c.prepared.cells.size(), c.fresh.cells.size());
  for (size_t i = 0; i < c.fresh.cells.size(); ++i)
    EXPECT_TRUE(c.prepared.cells[i] == c.fresh.cells[i]) << "cell " << i;
}

TEST(PreparedScan, ErrorsFoundWhilePreparingComeAtFirstShowAsTheScanGivesThem) {
  const std::vector<uint8_t> small = Picture::Create24(199, 300, {1, 2, 3}).EncodeBmp24();
  struct Case {
    std::string bytes;     // of the bad picture
    bool mended;           // replaced by a good one before the first show
    std::wstring message;  // what the first show reports, if anything
  };
  const Case cases[] = {{"not a picture", false, L"Bitmap image is not valid."},
                        {std::string(small.begin(), small.end()), false, L"Invalid image size."},
                        {"not a picture", true, L""}};
  for (const Case& k : cases) {
    LibraryApp app;
    app.Write(L"bad.bmp", k.bytes);
    const Compared c = PrepareChangeAndShow(app, [&] {
      if (k.mended) app.Copy(L"bun_blonde", L"bad");
    });
    EXPECT_EQ(c.boxes_while_preparing, 0u);
    EXPECT_EQ(c.prepared_boxes, k.message.empty() ? std::vector<std::wstring>{}
                                                  : std::vector<std::wstring>{k.message});
    EXPECT_EQ(c.prepared_boxes, c.fresh_boxes);
    EXPECT_EQ(c.prepared.captions, c.fresh.captions);
    EXPECT_TRUE(c.prepared == c.fresh) << k.message.size();
  }
}

// With no preparation there is nothing to take: the empty library keeps the list's colour.
TEST(PreparedScan, ALibraryEmptiedAfterPreparingShowsNothingAndKeepsTheListsColour) {
  LibraryApp app;
  const Compared c = PrepareChangeAndShow(app, [&] {
    for (const auto& e : fs::directory_iterator(app.Library())) fs::remove_all(e.path());
  });
  EXPECT_GT(c.cells_made_ahead, 0);
  EXPECT_TRUE(c.prepared.captions.empty());
  EXPECT_TRUE(c.prepared.cells.empty());
  EXPECT_EQ(c.prepared.background, RGB(216, 228, 248));
  EXPECT_TRUE(c.prepared == c.fresh);
}

}  // namespace
}  // namespace coiffure
