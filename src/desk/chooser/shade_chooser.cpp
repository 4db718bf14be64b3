#include "desk/chooser/shade_chooser.h"

#include <algorithm>
#include <new>

#include "desk/preview/preview.h"
#include "gallery/selection.h"
#include "import/customer_photo.h"
#include "import/naming.h"

namespace coiffure {

FolderNames::FolderNames(const std::vector<DirEntry>& entries) {
  for (const DirEntry& e : entries) folded_.insert(LowerAscii(e.name));
}

bool FolderNames::Has(const std::string& name) const {
  return folded_.count(LowerAscii(name)) > 0;
}

std::vector<std::string> OfferedStyles(const std::vector<DirEntry>& entries) {
  std::vector<std::string> styles;
  for (const DirEntry& e : entries)
    if (!(e.attributes & kAttrDirectory) && MatchesBmpPattern(e.name) && e.name[0] != '.' &&
        e.name.find("mask") == std::string::npos)
      styles.push_back(e.name);
  return styles;
}

std::vector<PlannedVariant> PlanVariants(const std::vector<std::string>& styles,
                                         const std::vector<Shade>& shades,
                                         const NameTaken& in_library) {
  std::vector<PlannedVariant> plan;
  std::unordered_set<std::string> planned;  // the planned pictures' and masks' names, folded
  const auto taken = [&](const std::string& name) {
    return planned.count(LowerAscii(name)) > 0 || in_library(name);
  };
  for (size_t style = 0; style < styles.size(); ++style) {
    const std::string stem = StyleStemFromPath(styles[style]);
    const bool has_mask = in_library(MaskNameFor(styles[style]));
    for (size_t shade = 0; shade < shades.size(); ++shade) {
      const std::string free = FreeStyleStem(ShadeStem(stem, shades[shade].name), taken);
      // No free name: the plan still lists it, and making it gives the refusal.
      if (!free.empty()) {
        planned.insert(LowerAscii(StylePictureName(free)));
        planned.insert(LowerAscii(StyleMaskName(free)));
      }
      const char* why_not = !has_mask ? kMsgNoMask : free.empty() ? kMsgNoFreeName : "";
      plan.push_back(
          {style, shade, free.empty() ? std::string() : StylePictureName(free), why_not});
    }
  }
  return plan;
}

std::vector<VariantChoice> MakeableVariants(const std::vector<PlannedVariant>& plan,
                                            const std::vector<std::string>& styles,
                                            const std::vector<Shade>& shades) {
  std::vector<VariantChoice> makeable;
  for (const PlannedVariant& v : plan)
    if (v.why_not.empty()) makeable.push_back({styles[v.style], shades[v.shade]});
  return makeable;
}

int VariantToPreview(const std::vector<PlannedVariant>& plan, size_t style, size_t shade) {
  int first_of_style = -1;
  for (size_t i = 0; i < plan.size(); ++i) {
    if (plan[i].style != style) continue;
    if (plan[i].shade == shade) return static_cast<int>(i);
    if (first_of_style < 0) first_of_style = static_cast<int>(i);
  }
  return first_of_style >= 0 ? first_of_style : plan.empty() ? -1 : 0;
}

std::string ComposeVariantPreview(const std::string& style, const Shade& shade,
                                  const std::string& picture, const ReadLibraryFile& read,
                                  const std::string& photo_path, Frame& frame,
                                  std::string* why_not) {
  std::string why;
  try {
    ShadedPair pair = ShadeLibraryStyle(style, shade, read);
    const std::string saved = picture.empty() ? "" : "，生成后保存为 " + picture;
    const std::string note = pair.reach.exact ? "" : "（" + UnreachedNote(pair.reach) + "）";
    return "预览：" + style + " 换成" + shade.name + note + saved + "。" +
           ComposePairOverPhoto(std::move(pair.colour), std::move(pair.mask), photo_path, frame);
  } catch (const ImportError& e) {
    why = e.what();
  } catch (const std::bad_alloc&) {
    why = kMsgOutOfMemory;
  }
  frame.Resize(kPaintBoxWidth, kPaintBoxHeight);
  frame.Fill(kTeal);
  if (why_not) *why_not = why;
  return style + " 不能换成" + shade.name + "：" + why + "。";
}

std::string PlanCaption(size_t planned, size_t makeable) {
  std::string count = planned ? std::to_string(planned) + " 款" : "";
  if (makeable < planned) count += "（" + std::to_string(planned - makeable) + " 款不能生成）";
  if (planned) count += "，";
  return "3. 将生成的新发型(&L)：" + count + "单击一行，右边显示它的预览";
}

std::string MakeCaption(size_t makeable) {
  return makeable ? "生成 " + std::to_string(makeable) + " 款新发型(&M)" : "生成新发型(&M)";
}

size_t SwatchAfterArrow(size_t swatch, Arrow arrow, size_t palette, size_t columns,
                        bool custom_shown) {
  const size_t count = palette + (custom_shown ? 1 : 0);
  if (swatch >= count) return swatch;
  if (arrow == Arrow::kLeft) return (swatch + count - 1) % count;
  if (arrow == Arrow::kRight) return (swatch + 1) % count;
  const size_t rows = (palette + columns - 1) / columns;
  // The custom swatch sits in the row after the palette's, in its third column.
  const auto place = [&](size_t s) {
    return s < palette ? std::pair{s % columns, s / columns} : std::pair{size_t{2}, rows};
  };
  const auto [column, row] = place(swatch);
  if (arrow == Arrow::kUp && row == 0) return swatch;
  const size_t want = arrow == Arrow::kUp ? row - 1 : row + 1;
  for (size_t s = 0; s < count; ++s)
    if (place(s) == std::pair{column, want}) return s;
  return swatch;
}

std::optional<size_t> PaletteShadeOf(Bgr colour) {
  const std::vector<Shade>& palette = ShadePalette();
  for (size_t i = 0; i < palette.size(); ++i)
    if (palette[i].mean == colour) return i;
  return std::nullopt;
}

std::string NothingToPreviewHint(size_t offered_styles, size_t chosen_styles,
                                 size_t chosen_shades) {
  if (offered_styles == 0)
    return "发型库 ml_fx 中还没有发型。请关闭这个窗口，先用“添加发型图片...”导入发型。";
  if (chosen_styles == 0)
    return chosen_shades
               ? "发色已选好，再在左上方选择要换发色的发型，这里就显示换色后的样子。"
               : "先在左上方选择要换发色的发型，再在下面选择发色，这里就显示换色后的样子。";
  return "发型已选好，再在左边选择一种或几种发色，这里就显示换色后的样子。";
}

std::string VariantsMadeNotice(int made, int refused) {
  const std::string others =
      refused > 0 ? "另有 " + std::to_string(refused) + " 款没有生成（见列表中的红色行）。" : "";
  if (made == 0) return "没有生成新发型，原因见列表中的红色行。";
  return "已生成 " + std::to_string(made) + " 款新发型。重新启动 Coiffure 后可在发型库中选用。" +
         others;
}

ThumbnailSlots::Slot ThumbnailSlots::For(size_t style) {
  if (style >= cell_of_style_.size()) cell_of_style_.resize(style + 1, -1);
  ++clock_;
  if (const int cell = cell_of_style_[style]; cell >= 0) {
    last_use_[static_cast<size_t>(cell)] = clock_;
    return {cell, false};
  }
  // A free cell has never been used, so it is also the one used longest ago.
  const size_t cell =
      static_cast<size_t>(std::min_element(last_use_.begin(), last_use_.end()) - last_use_.begin());
  if (style_of_cell_[cell] != kNone) cell_of_style_[style_of_cell_[cell]] = -1;
  style_of_cell_[cell] = style;
  last_use_[cell] = clock_;
  cell_of_style_[style] = static_cast<int>(cell);
  return {static_cast<int>(cell), true};
}

}  // namespace coiffure
