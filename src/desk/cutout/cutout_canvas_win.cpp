#include "desk/cutout/cutout_canvas_win.h"

#include <windowsx.h>

#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr const wchar_t* kClassName = L"CoiffureCutoutCanvas";

}  // namespace

HWND CutoutCanvas::Create(HWND parent, Port& port, HFONT font) {
  port_ = &port;
  font_ = font;
  Register({kClassName, nullptr, 0, nullptr, LoadCursorW(nullptr, IDC_CROSS)});
  return CreateWin(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent);
}

void CutoutCanvas::Show(const Frame* frame) {
  frame_ = frame;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void CutoutCanvas::SetCircle(std::optional<CutoutEditor::Circle> circle) {
  const auto same = [](const auto& a, const auto& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->x == b->x && a->y == b->y && a->radius == b->radius));
  };
  if (same(circle, circle_)) return;
  circle_ = circle;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void CutoutCanvas::SetText(const std::string& text, RECT where) {
  text_ = Widen(text);
  text_rect_ = where;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void CutoutCanvas::Press(CutoutEditor::Button button, LPARAM lp) {
  SetCapture(hwnd_);
  dragging_ = true;
  port_->Pressed(button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
}

LRESULT CutoutCanvas::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      const PaintDC dc(hwnd_);
      RECT client;
      GetClientRect(hwnd_, &client);
      Paint(dc.Get(), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_SIZE:
      port_->Resized(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_LBUTTONDOWN:
      Press(CutoutEditor::Button::kLeft, lp);
      return 0;
    case WM_RBUTTONDOWN:
      Press(CutoutEditor::Button::kRight, lp);
      return 0;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&t) != FALSE;
      }
      port_->Moved(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (!dragging_) return 0;
      dragging_ = false;  // before the capture goes, so that its loss is no cancel
      ReleaseCapture();
      port_->Released(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        port_->CaptureLost();
      }
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      port_->Left();
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

// Into a bitmap first, so that the circle never flickers over the photo.
void CutoutCanvas::Paint(HDC dc, const RECT& client) {
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  const MemoryDC memory(dc);
  const Bitmap bitmap(CreateCompatibleBitmap(dc, w, h));
  const ScopedSelect select(memory.Get(), bitmap.Get());
  const HDC m = memory.Get();
  FillRect(m, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
  if (frame_ && frame_->width > 0) {
    const BITMAPINFO bi = TopDownBgr24Info(frame_->width, frame_->height);
    SetDIBitsToDevice(m, 0, 0, frame_->width, frame_->height, 0, 0, 0, frame_->height,
                      frame_->bgr.data(), &bi, DIB_RGB_COLORS);
  }
  if (!text_.empty()) {
    const ScopedSelect font(m, font_);
    SetBkMode(m, TRANSPARENT);
    SetTextColor(m, RGB(255, 255, 255));
    RECT r = text_rect_;
    DrawTextW(m, text_.c_str(), -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
  if (circle_) {
    // A white ring inside a black one: seen on light and dark hair alike.
    const ScopedSelect brush(m, GetStockObject(NULL_BRUSH));
    for (const auto& [colour, grow] : {std::pair{RGB(0, 0, 0), 1}, {RGB(255, 255, 255), 0}}) {
      const Pen pen(CreatePen(PS_SOLID, 1, colour));
      const ScopedSelect use(m, pen.Get());
      const int r = circle_->radius + grow;
      Ellipse(m, circle_->x - r, circle_->y - r, circle_->x + r + 1, circle_->y + r + 1);
    }
  }
  BitBlt(dc, 0, 0, w, h, m, 0, 0, SRCCOPY);
}

}  // namespace coiffure
