#include "desk/cutout/style_purpose_win.h"

#include "desk/cutout/cutout_files.h"
#include "desk/preview/preview.h"
#include "import/customer_photo.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr int kButtonHeight = 30, kGap = 6;
constexpr const char* kNote =
    "导入的发型以照片的文件名命名，保存在发型库 ml_fx 中；导入窗口的列表里会多出一行，"
    "单击它可以再看预览。";

}  // namespace

StylePurpose::StylePurpose(std::string customer_photo, ImportFn import)
    : customer_photo_(std::move(customer_photo)), import_fn_(std::move(import)) {}

std::vector<CutoutPurpose::Look> StylePurpose::Looks() const {
  return {{"透明背景上的发型(&T)", false}, {"顾客照片上的发型(&O)", true}};
}

void StylePurpose::Create(HWND window, HFONT font) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  import_ = CreateWindowExW(0, L"BUTTON", Widen("导入为发型(&I)").c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 0,
                            0, 0, window, reinterpret_cast<HMENU>(IDOK), instance, nullptr);
  note_ = CreateWindowExW(0, L"STATIC", Widen(kNote).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                          0, 0, 0, 0, window, nullptr, instance, nullptr);
  for (HWND child : {import_, note_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnableWindow(import_, FALSE);
}

int StylePurpose::HeightFor(int width) const {
  return kButtonHeight + kGap + WrappedTextHeight(note_, width);
}

void StylePurpose::Layout(int x, int y, int width) {
  MoveWindow(import_, x, y, width, kButtonHeight, TRUE);
  MoveWindow(note_, x, y + kButtonHeight + kGap, width, WrappedTextHeight(note_, width), TRUE);
}

bool StylePurpose::Command(int id, CutoutHost& host) {
  if (id != IDOK) return false;
  if (!ready_ || !host.Session()) return true;
  import_fn_(host.PhotoPath(), host.Session(), host.Sketch());
  host.Finish();
  return true;
}

void StylePurpose::MatteReady(bool ready) {
  ready_ = ready;
  EnableWindow(import_, ready);
}

std::optional<ComposedPreview> StylePurpose::ComposeAside(const RgbaImage& shown,
                                                          const std::vector<uint8_t>& matte) const {
  ComposedPreview out;
  const cutout::Matte m{shown.width, shown.height, matte};
  std::optional<HairstylePair> pair = ConvertToHairstyle(CutOut(shown, m));
  if (!pair) {
    out.frame.Resize(kPaintBoxWidth, kPaintBoxHeight);
    out.frame.Fill(kTeal);
    out.caption = kMsgNothingLeft;
    return out;
  }
  out.caption = ComposePairOverPhoto(std::move(pair->colour), std::move(pair->mask),
                                     customer_photo_, out.frame);
  return out;
}

}  // namespace coiffure
