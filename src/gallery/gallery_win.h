// The library scan and the hairstyle selection on the real file system and list view.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "gallery/scan.h"
#include "gallery/selection.h"

namespace coiffure {

// Current-folder searches with FindFirstFileW/FindNextFileW; folders are identified by volume
// serial number and file index, so a junction or link back up is recognised.
class Win32Directory : public DirectoryPort {
 public:
  std::unique_ptr<DirectorySearch> Search(const std::string& pattern, uint32_t mask) override;
  bool ChangeFolder(const std::string& relative) override;
  std::string CurrentFolderId() override;
  void LoadPicture(const std::string& name, Picture& picture) override;
};

// The gallery list view and its image list (both borrowed).
class ListViewGallery : public GalleryPort {
 public:
  ListViewGallery(HWND listview, HIMAGELIST images) : listview_(listview), images_(images) {}
  void SetBackgroundColor(uint32_t colorref) override;
  void AddThumbnail(const Thumbnail& thumbnail) override;
  int ThumbnailCount() override;
  int AddEntry(const std::string& caption) override;
  void SetImageIndex(int entry, int image) override;
  int EntryCount() override;

 private:
  HWND listview_;
  HIMAGELIST images_;
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
// the list view as its large images; the list view destroys it with itself.
void CreateGalleryImageList(HWND listview);

// Scans the current folder into the list view (creating its image list if it has none).
// Throws the scan's PictureError.
void ScanHairLibraryInto(HWND listview);

}  // namespace coiffure
