// The library scan and the hairstyle selection on the real file system and list view.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "gallery/scan.h"
#include "gallery/selection.h"
#include "toolkit/gdi_win.h"

namespace coiffure {

// Current-folder searches with FindFirstFileW/FindNextFileW; folders are identified by volume
// serial number and file index, so a junction or link back up is recognised.
class Win32Directory : public DirectoryPort {
 public:
  std::unique_ptr<DirectorySearch> Search(const std::string& pattern, uint32_t mask) override;
  bool ChangeFolder(const std::string& relative) override;
  std::string CurrentFolderId() override;
  void LoadPicture(const std::string& name, Picture& picture) override;

 private:
  RecyclingLoader loader_;  // keeps its memory from one picture to the next
};

// The gallery list view and its image list (both borrowed). The image list grows by doubling
// into blank cells that are filled one by one and trimmed away when the gallery is let go: grown
// by a fixed step, every step would copy all the cells so far.
class ListViewGallery : public GalleryPort {
 public:
  ListViewGallery(HWND listview, HIMAGELIST images);
  ~ListViewGallery() override;
  ListViewGallery(const ListViewGallery&) = delete;
  ListViewGallery& operator=(const ListViewGallery&) = delete;

  void SetBackgroundColor(uint32_t colorref) override;
  void AddThumbnail(const Thumbnail& thumbnail) override;
  int ThumbnailCount() override;
  int AddEntry(const std::string& caption) override;
  void SetImageIndex(int entry, int image) override;
  int EntryCount() override;

 private:
  HWND listview_;
  HIMAGELIST images_;
  int count_ = 0;     // cells that hold a thumbnail
  int capacity_ = 0;  // cells of the image list: count_, then blank ones
};

class ListViewSelection : public GallerySelectionPort {
 public:
  explicit ListViewSelection(HWND listview) : listview_(listview) {}
  int EntryCount() override;
  bool IsSelected(int entry) override;
  int ItemIndex() override;
  std::string Caption(int entry) override;

 private:
  HWND listview_;
};

// Creates the 200 x 200 masked thumbnail list (background RGB(216, 228, 248)) and gives it to
// the list view as its large images. A list view that shares its image lists
// (LVS_SHAREIMAGELISTS, as the main window's does) leaves the list to the caller, who gets it
// back to own for as long as the list view lives; any other list view destroys it with itself,
// and the owner returned is empty.
ImageList CreateGalleryImageList(HWND listview);

// Scans the current folder into the list view (creating its image list if it has none).
// Throws the scan's PictureError.
void ScanHairLibraryInto(HWND listview);

// The scan through these ports into the list view, its drawing held off until the scan ends.
void ScanIntoListView(HWND listview, DirectoryPort& dir, GalleryPort& gallery);

}  // namespace coiffure
