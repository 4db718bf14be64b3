#include "ui/main/controls_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "resource.h"

namespace coiffure {

// ---------------------------------------------------------------------------------------------
// PaintBox

PaintBox::PaintBox(HWND parent, int x, int y, int w, int h, PaintBoxEvents events)
    : events_(std::move(events)), cursor_(LoadCursorW(nullptr, IDC_ARROW)) {
  // No class cursor: the pointer shape is the paint box's own property, set by the form.
  Register({L"TPaintBox", nullptr, 0, nullptr, nullptr});
  CreateWin(0, L"TPaintBox", L"PaintBox1", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h,
            parent);
}

void PaintBox::SetCursorShape(HCURSOR cursor) {
  cursor_ = cursor;
  POINT pt;
  GetCursorPos(&pt);
  if (WindowFromPoint(pt) == hwnd_ || GetCapture() == hwnd_) SetCursor(cursor_);
}

namespace {

WPARAM ButtonFlag(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return MK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return MK_RBUTTON;
    default:
      return MK_MBUTTON;
  }
}

constexpr WPARAM kHandledButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

}  // namespace

void PaintBox::ButtonDown(UINT msg, LPARAM lp) {
  // Every button acts alike; the pointer stays with the paint box until the last release.
  if (pressed_ == 0) SetCapture(hwnd_);
  pressed_ |= ButtonFlag(msg);
  if (events_.mouse_down) events_.mouse_down({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

void PaintBox::ButtonUp(UINT msg, LPARAM lp) {
  // A release whose press began on another control belongs to that control, as the pointer
  // capture the platform gives every other control would have it.
  const WPARAM button = ButtonFlag(msg);
  if (!(pressed_ & button)) return;
  pressed_ &= ~button;
  const Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (msg == WM_LBUTTONUP) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // The click comes before the release is handled, and only when released inside.
    if (p.x >= 0 && p.y >= 0 && p.x < rc.right && p.y < rc.bottom && events_.click) events_.click();
  }
  if (pressed_ == 0 && GetCapture() == hwnd_) ReleaseCapture();
  if (events_.mouse_up) events_.mouse_up(p);
}

void PaintBox::PointerMove(WPARAM held, LPARAM lp) {
  // While a button pressed elsewhere is held the pointer is that control's, not ours.
  if ((held & kHandledButtons) && !(held & pressed_)) return;
  if (events_.mouse_move) events_.mouse_move({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

LRESULT PaintBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint handler covers every pixel
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      if (events_.paint) events_.paint(dc.Get(), rc.right, rc.bottom);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      ButtonDown(msg, lp);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      ButtonUp(msg, lp);
      return 0;
    case WM_MOUSEMOVE:
      PointerMove(wp, lp);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) pressed_ = 0;
      return 0;
  }
  return Default(msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Toolbar edge

void RaisedTopEdge::Attach(HWND toolbar) {
  Subclass(toolbar);
  SetWindowPos(toolbar, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT RaisedTopEdge::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      const LRESULT r = Default(msg, wp, lp);
      // The first rectangle of either form of the message is the client area to be.
      reinterpret_cast<RECT*>(lp)->top += 1;
      return r;
    }
    case WM_NCPAINT: {
      Default(msg, wp, lp);
      RECT r;
      GetWindowRect(Handle(), &r);
      OffsetRect(&r, -r.left, -r.top);
      WindowDC dc(Handle(), WindowDC::Area::kWhole);
      DrawEdge(dc.Get(), &r, BDR_RAISEDOUTER, BF_TOP);
      return 0;
    }
  }
  return Default(msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Splitter

Splitter::Splitter(HWND parent, int x, int y, int w, int h, std::function<int(int)> limit,
                   std::function<void(int)> on_release)
    : limit_(std::move(limit)), on_release_(std::move(on_release)) {
  // The split pointer: two arrows pointing apart from a double bar.
  Register({L"TSplitter", GetSysColorBrush(COLOR_BTNFACE), 0, nullptr,
            LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HSPLIT))});
  CreateWin(0, L"TSplitter", L"Splitter1", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h,
            parent);
}

int Splitter::ParentXFrom(LPARAM lp) const {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  MapWindowPoints(hwnd_, GetParent(hwnd_), &pt, 1);
  return pt.x;
}

void Splitter::DrawLine(int parent_x) {
  // A pattern line XORed onto the screen, so drawing it twice removes it.
  HWND parent = GetParent(hwnd_);
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  POINT origin{parent_x, 0};
  ClientToScreen(parent, &origin);
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  Bitmap bits(CreateBitmap(8, 8, 1, 1, kPattern));
  Brush brush(CreatePatternBrush(bits.Get()));
  const WindowDC screen = WindowDC::LockedScreen();
  ScopedSelect sel(screen.Get(), brush.Get());  // undone before the DC is released
  PatBlt(screen.Get(), origin.x, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATINVERT);
}

void Splitter::DragTo(int parent_x) {
  const int width = limit_(parent_x);
  on_release_(width);
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(dc.Get(), &rc, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(dc.Get(), &rc, BDR_RAISEDINNER, BF_LEFT | BF_RIGHT);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      SetCapture(hwnd_);
      dragging_ = true;
      grab_offset_ = GET_X_LPARAM(lp);
      RECT rc;
      GetWindowRect(hwnd_, &rc);
      POINT left{rc.left, rc.top};
      ScreenToClient(GetParent(hwnd_), &left);
      line_x_ = left.x;
      DrawLine(line_x_);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        const int x = limit_(ParentXFrom(lp) - grab_offset_);
        if (x != line_x_) {
          DrawLine(line_x_);
          line_x_ = x;
          DrawLine(line_x_);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        DrawLine(line_x_);
        dragging_ = false;
        ReleaseCapture();
        on_release_(limit_(ParentXFrom(lp) - grab_offset_));
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        DrawLine(line_x_);
        dragging_ = false;
      }
      return 0;
  }
  return Default(msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// RaisedPanel

RaisedPanel::RaisedPanel(HWND parent, int x, int y, int w, int h) {
  Register({L"TPanel", GetSysColorBrush(COLOR_BTNFACE)});
  CreateWin(WS_EX_CONTROLPARENT, L"TPanel", L"Panel1",
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, w, h, parent);
}

LRESULT RaisedPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      DrawEdge(dc.Get(), &rc, BDR_RAISEDINNER, BF_RECT);
      return 0;
    }
    case WM_NOTIFY:
    case WM_COMMAND:
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  }
  return Default(msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// BandBar

BandBar::BandBar(HWND parent, int x, int y, int w, int h, int background_id)
    : background_(LoadBitmapResource(background_id)) {
  Register({L"TCoolBar"});
  CreateWin(0, L"TCoolBar", L"CoolBar1", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h,
            parent);
}

void BandBar::PaintBackground(HDC dc, const RECT& area) {
  BITMAP bm{};
  if (!background_ || !GetObjectW(background_.Get(), sizeof(bm), &bm) || bm.bmWidth <= 0) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  MemoryDC mem(dc);
  ScopedSelect sel(mem.Get(), background_.Get());
  for (int y = area.top - area.top % bm.bmHeight; y < area.bottom; y += bm.bmHeight)
    for (int x = area.left - area.left % bm.bmWidth; x < area.right; x += bm.bmWidth)
      BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCCOPY);
}

LRESULT BandBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      // Transparent toolbars ask for this with their DC's origin moved onto ours, so the tiles
      // line up across the toolbars and the bar.
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      PaintBackground(dc, rc);
      return 1;
    }
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      for (int band : band_x_) {
        // A gripper: two raised lines at the start of each band.
        RECT g{band + 2, 2, band + 5, rc.bottom - 2};
        DrawEdge(dc.Get(), &g, BDR_RAISEDINNER, BF_RECT);
      }
      return 0;
    }
    case WM_NOTIFY:
    case WM_COMMAND:
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  }
  return Default(msg, wp, lp);
}

}  // namespace coiffure
