// The cut-out window opened to make a hairstyle of a photo's hair: the hair alone on a chequer
// and over the customer photo as Coiffure would show it, and "导入为发型", which hands the photo
// and its marks to the desk to import off the window's thread.
#pragma once

#include <functional>

#include "desk/cutout/cutout_purpose_win.h"

namespace coiffure {

class StylePurpose : public CutoutPurpose {
 public:
  using ImportFn =
      std::function<void(const std::string& photo, std::shared_ptr<const cutout::Session> session,
                         const cutout::Sketch& sketch)>;
  // customer_photo: the photo the hair is shown over.
  StylePurpose(std::string customer_photo, ImportFn import);

  std::string Title() const override { return "从照片剪出发型 - Coiffure 发型导入"; }
  std::vector<Look> Looks() const override;
  std::string DoneHint() const override { return "满意后单击“导入为发型”。"; }
  void Create(HWND window, HFONT font) override;
  int HeightFor(int width) const override;
  void Layout(int x, int y, int width) override;
  bool Command(int id, CutoutHost& host) override;
  void MatteReady(bool ready) override;
  std::optional<ComposedPreview> ComposeAside(const RgbaImage& shown,
                                              const std::vector<uint8_t>& matte) const override;

  HWND ImportButton() const { return import_; }

 private:
  std::string customer_photo_;
  ImportFn import_fn_;
  HWND import_ = nullptr, note_ = nullptr;
  bool ready_ = false;
};

}  // namespace coiffure
