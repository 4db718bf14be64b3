// The desk's drop target for the customer photo: a framed box of its own, apart from the window
// that takes hairstyle pictures, so that a photo never becomes a style by mistake.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/window_win.h"

namespace coiffure {

// The files of a drop (UTF-8 paths); the drop is finished.
std::vector<std::string> DroppedFiles(HDROP drop);

class PhotoDropZone : public BaseWindow<PhotoDropZone> {
 public:
  using DropFn = std::function<void(const std::vector<std::string>&)>;

  explicit PhotoDropZone(DropFn on_drop) : on_drop_(std::move(on_drop)) {}
  HWND Create(HWND parent, HFONT font);
  // The line under the box's title: what the box does, or what happened last (also the
  // window's text, for readers of the screen).
  void SetNotice(const std::string& notice);
  // The height the box needs at this width for its whole text.
  int HeightFor(int width) const;

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint(HDC dc);

  DropFn on_drop_;
  HFONT font_ = nullptr;
};

}  // namespace coiffure
