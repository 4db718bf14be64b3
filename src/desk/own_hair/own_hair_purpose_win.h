// The cut-out window opened on the customer photo to try her own hair in another colour: the
// shade swatches (one at a time) recolour her hair in the photo as the paint box will show it,
// live under the matte; "用作顾客照片" hands the shade to the desk to put in place off the
// window's thread, and "恢复原照片" puts the kept original back.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "colour/palette.h"
#include "desk/chooser/shade_swatches_win.h"
#include "desk/cutout/cutout_purpose_win.h"
#include "desk/own_hair/own_hair.h"
#include "desk/own_hair/own_hair_look.h"

namespace coiffure {

class OwnHairPurpose : public CutoutPurpose {
 public:
  static constexpr int kRestoreId = 2201;
  using UseFn = std::function<void(std::shared_ptr<const OwnHairStart> start,
                                   std::shared_ptr<const cutout::Session> session,
                                   const cutout::Sketch& sketch, const Shade& shade)>;
  // start: the photo the window shows (the kept original, else test.bmp); image3: the corner
  // Coiffure's paint box covers, as its preview draws it.
  OwnHairPurpose(std::shared_ptr<const OwnHairStart> start, Picture image3, UseFn use,
                 std::function<void()> restore);

  std::string Title() const override { return "换自己的发色 - Coiffure 发型导入"; }
  std::vector<Look> Looks() const override { return {{"换色后的照片(&P)", true}}; }
  std::string DoneHint() const override;
  void Create(HWND window, HFONT font) override;
  int HeightFor(int width) const override;
  void Layout(int x, int y, int width) override;
  bool Command(int id, CutoutHost& host) override;
  void MatteReady(bool ready) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  std::optional<ComposedPreview> ComposeAside(const RgbaImage& shown,
                                              const std::vector<uint8_t>& matte) const override;

  ShadeSwatches& Swatches() { return swatches_; }
  HWND UseButton() const { return use_; }
  HWND RestoreButton() const { return restore_; }

 private:
  std::optional<Shade> Chosen() const;
  void ShowButtons();

  std::shared_ptr<const OwnHairStart> start_;
  Picture image3_;
  UseFn use_fn_;
  std::function<void()> restore_fn_;
  ShadeSwatches swatches_;
  HWND window_ = nullptr, label_ = nullptr, use_ = nullptr, restore_ = nullptr, note_ = nullptr;
  int line_height_ = 0;
  bool ready_ = false;
  // The shade the worker recolours with, set on the window's thread.
  mutable std::mutex shade_mutex_;
  std::optional<Shade> shade_;
  mutable OwnHairLook look_;
};

}  // namespace coiffure
