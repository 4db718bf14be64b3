#include "gallery/selection.h"

namespace coiffure {

namespace {
constexpr const char* kLibrarySeam = "\\ml_fx\\";
}  // namespace

std::string MaskNameFor(const std::string& caption) {
  // "." is ASCII, so in UTF-8 the first "." byte is the first "." character.
  const size_t dot = caption.find('.');
  const std::string base = dot == std::string::npos ? std::string() : caption.substr(0, dot);
  return base + "mask.bmp";
}

std::string HairMaskPath(const std::string& app_folder, const std::string& caption) {
  return app_folder + kLibrarySeam + MaskNameFor(caption);
}

std::string HairImagePath(const std::string& app_folder, const std::string& caption) {
  return app_folder + kLibrarySeam + caption;
}

void LoadSelectedHairstyle(GallerySelectionPort& gallery, const std::string& app_folder,
                           Workspace& ws, const RepaintFn& repaint, const PictureLoader& load) {
  int selected = 0;
  const int count = gallery.EntryCount();
  for (int i = 0; i < count; ++i)
    if (gallery.IsSelected(i)) ++selected;
  if (selected == 0) return;
  const int index = gallery.ItemIndex();
  if (index < 0 || index >= count) return;
  load(ws.HairMask, HairMaskPath(app_folder, gallery.Caption(index)));
  load(ws.HairImage, HairImagePath(app_folder, gallery.Caption(index)));
  if (repaint) repaint();
}

void LoadSelectedHairstyle(GallerySelectionPort& gallery, const std::string& app_folder,
                           Workspace& ws, RepaintFn repaint) {
  LoadSelectedHairstyle(gallery, app_folder, ws, repaint,
                        [](Picture& p, const std::string& path) { p.LoadFromFile(path); });
}

}  // namespace coiffure
