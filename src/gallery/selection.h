// Loads the hairstyle of the clicked gallery entry into the workspace.
#pragma once

#include <functional>
#include <string>

#include "imaging/picture.h"
#include "workspace/workspace.h"

namespace coiffure {

// The mask file of a hairstyle picture: the caption up to its first "." followed by
// "mask.bmp"; a caption without "." gives just "mask.bmp".
std::string MaskNameFor(const std::string& caption);

// What the selection needs of the gallery list.
class GallerySelectionPort {
 public:
  virtual ~GallerySelectionPort() = default;
  virtual int EntryCount() = 0;
  virtual bool IsSelected(int entry) = 0;
  // The first selected entry, -1 when none is.
  virtual int ItemIndex() = 0;
  virtual std::string Caption(int entry) = 0;
};

using RepaintFn = std::function<void()>;
// Loads a picture from an absolute path; throws PictureError and leaves it unchanged on failure.
using PictureLoader = std::function<void(Picture&, const std::string&)>;

// The library paths are built from the application folder (ending in a backslash) and a
// literal beginning with one; the file system reads the doubled separator as one.
std::string HairMaskPath(const std::string& app_folder, const std::string& caption);
std::string HairImagePath(const std::string& app_folder, const std::string& caption);

// Mask first, then picture, then repaint; a failed load stops there with its error.
void LoadSelectedHairstyle(GallerySelectionPort& gallery, const std::string& app_folder,
                           Workspace& ws, const RepaintFn& repaint, const PictureLoader& load);
// The same, loading with Picture::LoadFromFile.
void LoadSelectedHairstyle(GallerySelectionPort& gallery, const std::string& app_folder,
                           Workspace& ws, RepaintFn repaint);

}  // namespace coiffure
