// The desk's preview pane: the frame the core composes for a result, shown at the paint box's
// own size, with a caption under it. It keeps one frame and the Image3 artwork; the pictures of
// a result are read when it is shown and let go at once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "desk/preview/preview.h"
#include "toolkit/window_win.h"

namespace coiffure {

// A preview composed away from the window's thread, to be shown as it is.
struct ComposedPreview {
  Frame frame;
  std::string caption;
};

class DeskPreview : public BaseWindow<DeskPreview> {
 public:
  static constexpr int kCaptionHeight = 48;

  // photo_path: the customer photo a pair is shown over.
  explicit DeskPreview(std::string photo_path);
  HWND Create(HWND parent, int x, int y, HFONT font);

  // Composes what the subject shows and returns the composed preview's caption.
  std::string Show(const PreviewSubject& subject);
  // The same composed into a frame of its own: it reads only files and the artwork, so any
  // thread may call it while the pane is shown.
  ComposedPreview ComposeAside(const PreviewSubject& subject) const;
  // Shows a preview composed aside; returns its caption.
  std::string Show(ComposedPreview composed);
  void SetCaption(std::string caption);
  // Shows what compose draws into the frame, under the caption it returns.
  void ShowComposed(const std::function<std::string(Frame&)>& compose);
  // Back to the empty box, with the hint to select a row (or the one given).
  void Clear(std::string hint = "在左边的列表中单击一行，这里就显示它的结果。");

  const Frame& Shown() const { return frame_; }
  const Picture& Image3() const { return image3_; }
  const std::string& Caption() const { return caption_; }
  // Memory the pane holds between paints: the frame and the artwork.
  size_t BytesKept() const { return frame_.bgr.capacity() + image3_.Stride() * image3_.Height(); }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint(HDC dc);

  std::string photo_path_;
  Frame frame_;
  Picture image3_;
  std::string caption_;
  HFONT font_ = nullptr;
};

}  // namespace coiffure
