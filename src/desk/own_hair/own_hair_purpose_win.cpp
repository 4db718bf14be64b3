#include "desk/own_hair/own_hair_purpose_win.h"

#include "desk/preview/preview.h"
#include "import/customer_photo.h"
#include "import/kept_photo.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

constexpr int kButtonHeight = 30, kGap = 6, kColumns = 4;

HWND MakeControl(HWND parent, const wchar_t* cls, const std::string& text, DWORD style,
                 int id = 0) {
  return CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

std::string KeptNote(bool kept) {
  return kept ? std::string(
                    "这张照片是保存下来的原照片；换好的发色从它开始，不会在上次换过的颜色上"
                    "再换。")
              : std::string("用作顾客照片时，原照片先保存为 ml_data\\") + kKeptPhotoName +
                    "，可以随时恢复。";
}

}  // namespace

OwnHairPurpose::OwnHairPurpose(std::shared_ptr<const OwnHairStart> start, Picture image3, UseFn use,
                               std::function<void()> restore)
    : start_(std::move(start)),
      image3_(std::move(image3)),
      use_fn_(std::move(use)),
      restore_fn_(std::move(restore)),
      swatches_(kColumns, true) {}

std::string OwnHairPurpose::DoneHint() const {
  return Chosen() ? "满意后单击“用作顾客照片”。" : "在右边选一种发色，看她自己的头发换色后的样子。";
}

void OwnHairPurpose::Create(HWND window, HFONT font) {
  window_ = window;
  line_height_ = LineHeight(window, font);
  label_ = MakeControl(window, L"STATIC", "发色(&L)：", 0);
  SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  swatches_.Create(window, font, line_height_);
  use_ = MakeControl(window, L"BUTTON", "用作顾客照片(&U)",
                     WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDOK);
  restore_ =
      MakeControl(window, L"BUTTON", "恢复原照片(&R)", WS_TABSTOP | BS_PUSHBUTTON, kRestoreId);
  note_ = MakeControl(window, L"STATIC", KeptNote(start_->original.kept), SS_NOPREFIX);
  for (HWND child : {use_, restore_, note_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ShowButtons();
}

int OwnHairPurpose::HeightFor(int width) const {
  return line_height_ + kGap + ShadeSwatches::HeightFor(line_height_, kColumns) + 2 * kGap +
         2 * (kButtonHeight + kGap) + WrappedTextHeight(note_, width);
}

void OwnHairPurpose::Layout(int x, int y, int width) {
  MoveWindow(label_, x, y, width, line_height_, TRUE);
  y += line_height_ + kGap;
  y += swatches_.Place(x, y, width) + 2 * kGap;
  MoveWindow(use_, x, y, width, kButtonHeight, TRUE);
  y += kButtonHeight + kGap;
  MoveWindow(restore_, x, y, width, kButtonHeight, TRUE);
  y += kButtonHeight + kGap;
  MoveWindow(note_, x, y, width, WrappedTextHeight(note_, width), TRUE);
}

bool OwnHairPurpose::Command(int id, CutoutHost& host) {
  if (swatches_.OnCommand(window_, id)) {
    {
      const std::lock_guard<std::mutex> lock(shade_mutex_);
      shade_ = Chosen();
    }
    ShowButtons();
    // The recoloured photo is the look to see once there is hair to recolour.
    if (host.MatteShown()) {
      host.Recompose();
      host.ChooseLook(1);
    }
    return true;
  }
  if (id == ShadeSwatches::kOtherId) return true;  // the colour dialog was cancelled
  if (id == IDOK) {
    const std::optional<Shade> shade = Chosen();
    if (!ready_ || !shade || !host.Session()) return true;
    use_fn_(start_, host.Session(), host.Sketch(), *shade);
    host.Finish();
    return true;
  }
  if (id == kRestoreId) {
    if (!start_->original.kept) return true;
    restore_fn_();
    host.Finish();
    return true;
  }
  return false;
}

void OwnHairPurpose::MatteReady(bool ready) {
  ready_ = ready;
  ShowButtons();
}

bool OwnHairPurpose::DrawItem(const DRAWITEMSTRUCT& item) {
  return swatches_.Draw(item);
}

std::optional<Shade> OwnHairPurpose::Chosen() const {
  const std::vector<Shade> chosen = swatches_.Chosen();
  if (chosen.empty()) return std::nullopt;
  return chosen.front();
}

void OwnHairPurpose::ShowButtons() {
  EnableWindow(use_, ready_ && Chosen().has_value());
  EnableWindow(restore_, start_->original.kept);
}

std::optional<ComposedPreview> OwnHairPurpose::ComposeAside(
    const RgbaImage& shown, const std::vector<uint8_t>& matte) const {
  std::optional<Shade> shade;
  {
    const std::lock_guard<std::mutex> lock(shade_mutex_);
    shade = shade_;
  }
  ComposedPreview out;
  Picture photo = FlattenOnWhite(shown);
  if (!shade) {
    out.caption = "她现在的样子。在右边选一种发色，这里就显示换色后的照片。";
  } else {
    OwnHairLook::Result result = look_.Recolour(photo, matte, shade->mean);
    photo = std::move(result.photo);
    out.caption = shade->name + "：这是用作顾客照片后 Coiffure 里显示的样子。";
    if (!result.reach.exact) out.caption += UnreachedNote(result.reach) + "。";
  }
  ComposePhotoPreview(std::move(photo), image3_, out.frame);
  return out;
}

}  // namespace coiffure
