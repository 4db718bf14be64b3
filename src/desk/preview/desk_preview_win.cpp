#include "desk/preview/desk_preview_win.h"

#include <utility>
#include <vector>

#include "import/customer_photo.h"
#include "resource.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureDeskPreview";

// The Image3 artwork from the program's resources, as a picture of the core (empty when the
// resource is missing): a bitmap resource is a BMP file without its 14-byte file header.
Picture LoadImage3() {
  const HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDB_IMAGE3), MAKEINTRESOURCEW(2));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* dib = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(module, found) : 0;
  if (!dib || size < sizeof(BITMAPINFOHEADER)) return {};
  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
  const uint32_t offset =
      14 + info->biSize + info->biClrUsed * 4 + (info->biCompression == BI_BITFIELDS ? 12 : 0);
  std::vector<uint8_t> file(14 + size_t{size});
  file[0] = 'B', file[1] = 'M';
  for (int i = 0; i < 4; ++i) {
    file[2 + i] = static_cast<uint8_t>(file.size() >> (8 * i));
    file[10 + i] = static_cast<uint8_t>(offset >> (8 * i));
  }
  std::copy_n(dib, size, file.begin() + 14);
  Picture picture;
  try {
    picture.LoadFromBytes(file);
  } catch (const PictureError&) {
  }
  return picture;
}

}  // namespace

DeskPreview::DeskPreview(std::string photo_path) : photo_path_(std::move(photo_path)) {}

HWND DeskPreview::Create(HWND parent, int x, int y, HFONT font) {
  font_ = font;
  image3_ = LoadImage3();
  Register({kClassName, GetSysColorBrush(COLOR_BTNFACE)});
  CreateWin(0, kClassName, L"", WS_CHILD | WS_VISIBLE, x, y, kPaintBoxWidth,
            kPaintBoxHeight + kCaptionHeight, parent);
  Clear();
  return hwnd_;
}

std::string DeskPreview::Show(const PreviewSubject& subject) {
  return ComposePreview(subject, photo_path_, image3_, frame_);
}

ComposedPreview DeskPreview::ComposeAside(const PreviewSubject& subject) const {
  ComposedPreview composed;
  composed.caption = ComposePreview(subject, photo_path_, image3_, composed.frame);
  return composed;
}

std::string DeskPreview::Show(ComposedPreview composed) {
  frame_ = std::move(composed.frame);
  return std::move(composed.caption);
}

void DeskPreview::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void DeskPreview::ShowComposed(const std::function<std::string(Frame&)>& compose) {
  SetCaption(compose(frame_));
}

void DeskPreview::Clear(std::string hint) {
  frame_.Resize(kPaintBoxWidth, kPaintBoxHeight);
  frame_.Fill(kTeal);
  SetCaption(std::move(hint));
}

LRESULT DeskPreview::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    const PaintDC dc(hwnd_);
    Paint(dc.Get());
    return 0;
  }
  return Default(msg, wp, lp);
}

void DeskPreview::Paint(HDC dc) {
  const BITMAPINFO bi = TopDownBgr24Info(frame_.width, frame_.height);
  SetDIBitsToDevice(dc, 0, 0, frame_.width, frame_.height, 0, 0, 0, frame_.height,
                    frame_.bgr.data(), &bi, DIB_RGB_COLORS);
  RECT text{0, kPaintBoxHeight, kPaintBoxWidth, kPaintBoxHeight + kCaptionHeight};
  FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
  text.top += 6;
  const ScopedSelect select(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const std::wstring caption = Widen(caption_);
  DrawTextW(dc, caption.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace coiffure
