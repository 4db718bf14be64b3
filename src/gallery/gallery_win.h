// The library scan and the hairstyle selection on the real file system and list view.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "gallery/scan.h"
#include "gallery/selection.h"
#include "gallery/thumbnail_cells.h"
#include "toolkit/gdi_win.h"

namespace coiffure {

class LibraryWatch;

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

// The identity of a folder (volume serial number and file index), or empty when it cannot be
// told.
std::string FolderId(const std::wstring& path);

// A search of the platform's directory functions, yielding the entries that pass the mask and
// whose long names match "*.bmp".
std::unique_ptr<DirectorySearch> SearchFolder(const std::string& pattern, uint32_t mask);

// The gallery's image list as the cells of its thumbnails (borrowed).
class ImageListStore : public CellStore {
 public:
  explicit ImageListStore(HIMAGELIST images) : images_(images) {}
  int Capacity() override;
  void Resize(int cells) override;
  void Replace(int cell, const Thumbnail& thumbnail) override;
  void Copy(int to, int from) override;

 private:
  HIMAGELIST images_;
};

// The gallery list view and its image list (both borrowed). Its thumbnails go into cells of
// its own, or into cells shared with a preparation that made some of them ahead; the spare
// cells are cut away when the gallery is let go.
class ListViewGallery : public GalleryPort {
 public:
  ListViewGallery(HWND listview, HIMAGELIST images);
  ListViewGallery(HWND listview, HIMAGELIST images, ThumbnailCells& cells);
  ~ListViewGallery() override;
  ListViewGallery(const ListViewGallery&) = delete;
  ListViewGallery& operator=(const ListViewGallery&) = delete;

  void SetBackgroundColor(uint32_t colorref) override;
  void AddThumbnail(const Thumbnail& thumbnail) override;
  int ThumbnailCount() override;
  int AddEntry(const std::string& caption) override;
  void SetImageIndex(int entry, int image) override;
  int EntryCount() override;
  bool BeginPicture(const PictureStamp& stamp) override;
  // Carries out what the cells still owe and cuts the spare ones away; the destructor does it
  // too, but cannot report a failure.
  void Finish() { cells_.Finish(); }

 private:
  HWND listview_;
  HIMAGELIST images_;
  ImageListStore own_store_;
  std::optional<ThumbnailCells> own_cells_;
  ThumbnailCells& cells_;
};

// The library scan run ahead in short slices while the splash is up, on the GUI thread: it
// reads, decodes and makes the thumbnails into the gallery's own image list, and lists nothing.
// Each folder is watched from before it is listed. The scan at first show then takes each
// thumbnail wherever it meets the same picture (same folder, name, size and time) that the
// platform has not reported changed, and makes only the rest; so the gallery is what a scan at
// first show gives. An error stops the preparation silently: the scan at first show meets the
// same picture and reports it then.
class LibraryPreparation {
 public:
  // library: the library folder's full path, ending in a backslash. When it cannot be entered
  // the first show scans the current folder, so that is the one prepared.
  LibraryPreparation(HIMAGELIST images, const std::string& library);
  ~LibraryPreparation();
  LibraryPreparation(const LibraryPreparation&) = delete;
  LibraryPreparation& operator=(const LibraryPreparation&) = delete;

  // Works for about this long; false once there is nothing more to prepare.
  bool Work(std::chrono::milliseconds budget);
  // The cells for the scan at first show in the current folder: those made ahead when it is the
  // folder that was prepared, else none (they are then all made again). Ends the preparation.
  ThumbnailCells& CellsForScan(DirectoryPort& dir);
  HIMAGELIST Images() const { return images_; }

 private:
  class Folder;
  class Gallery;
  HIMAGELIST images_;
  std::unique_ptr<LibraryWatch> watch_;
  COLORREF initial_background_;
  ImageListStore store_;
  ThumbnailCells cells_;
  std::unique_ptr<Folder> folder_;
  std::unique_ptr<Gallery> gallery_;
  std::unique_ptr<LibraryScan> scan_;
  std::string root_id_;
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

// Scans the current folder into the list view (creating its image list if it has none), taking
// the thumbnails a preparation made ahead into that image list where they still hold. Throws the
// scan's PictureError.
void ScanHairLibraryInto(HWND listview, LibraryPreparation* prepared = nullptr);

// The scan through these ports into the list view, its drawing held off until the scan ends.
void ScanIntoListView(HWND listview, DirectoryPort& dir, GalleryPort& gallery);

}  // namespace coiffure
