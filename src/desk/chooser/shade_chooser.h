// The decisions of the desk's colour-variant chooser: which library pictures it offers, what a
// chosen set of styles in chosen shades gives and under which names, which thumbnails it keeps
// for a library of hundreds, and the preview of a variant before it is made.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "colour/recolour.h"
#include "colour/variants.h"
#include "gallery/scan.h"
#include "workspace/composite.h"

namespace coiffure {

// The names of a folder's files, compared as the file system compares them.
class FolderNames {
 public:
  FolderNames() = default;
  explicit FolderNames(const std::vector<DirEntry>& entries);
  bool Has(const std::string& name) const;

 private:
  std::unordered_set<std::string> folded_;
};

// The styles the chooser offers, in directory order: the pictures of the library's own folder
// that the gallery lists (a name matching "*.bmp", not beginning with ".", without "mask", not a
// folder). Pictures of sub-folders are left out: the selection looks for their files in the
// library's own folder, so they cannot be shaded there either.
std::vector<std::string> OfferedStyles(const std::vector<DirEntry>& entries);

struct PlannedVariant {
  size_t style = 0;     // index into the chosen styles
  size_t shade = 0;     // index into the chosen shades
  std::string picture;  // the name it will be written under, as the library stands
  std::string why_not;  // empty when it can be made, else the refusal it would get
};

// Every chosen style in every chosen shade, in the order they are made (style by style, each in
// its shades in order), each named as WritePair will name it: the variant's stem made free of the
// names the library has and of the variants planned before it. A variant without a free name, or
// of a style whose mask the library lacks, is planned with the refusal it would get.
std::vector<PlannedVariant> PlanVariants(const std::vector<std::string>& styles,
                                         const std::vector<Shade>& shades,
                                         const NameTaken& in_library);

// A variant to make: a library style in a shade.
struct VariantChoice {
  std::string style;
  Shade shade;
};
// The planned variants that can be made, in the plan's order.
std::vector<VariantChoice> MakeableVariants(const std::vector<PlannedVariant>& plan,
                                            const std::vector<std::string>& styles,
                                            const std::vector<Shade>& shades);

// The planned variant to preview: style and shade as given, else the first of that style, else
// the first of all; -1 for an empty plan.
int VariantToPreview(const std::vector<PlannedVariant>& plan, size_t style, size_t shade);

// Composes the preview of a planned variant: the library's style recoloured exactly as it will be
// written, over the customer photo; returns the caption, which says why not when the style
// cannot be shaded (the frame then shows the background, and why_not, when given, is set to the
// refusal).
std::string ComposeVariantPreview(const std::string& style, const Shade& shade,
                                  const std::string& picture, const ReadLibraryFile& read,
                                  const std::string& photo_path, Frame& frame,
                                  std::string* why_not = nullptr);

// The label of the list of planned variants, and the caption of the button that makes those
// that can be made.
std::string PlanCaption(size_t planned, size_t makeable);
std::string MakeCaption(size_t makeable);

// The swatch an arrow key moves to in the grid of ShadeSwatches: the palette's shades row by
// row, `columns` a row, then the custom swatch (when shown) under the third column. Up and Down
// keep the column, Left and Right go through the swatches in order, round at the ends; a move
// to where no swatch is stays.
enum class Arrow { kLeft, kRight, kUp, kDown };
size_t SwatchAfterArrow(size_t swatch, Arrow arrow, size_t palette, size_t columns,
                        bool custom_shown);

// The palette's shade that has exactly this colour, if any.
std::optional<size_t> PaletteShadeOf(Bgr colour);
// What the preview says while there is no variant to show: what to choose next.
std::string NothingToPreviewHint(size_t offered_styles, size_t chosen_styles, size_t chosen_shades);

// The line the desk shows once variants were made: how many, and that Coiffure shows them after
// a restart.
std::string VariantsMadeNotice(int made, int refused);

// Which cell of a bounded thumbnail list holds which style, so that a library of hundreds keeps
// only the thumbnails shown lately: a style without a cell takes a free one, else the one asked
// for longest ago. The number of cells must exceed the number of styles shown at once.
class ThumbnailSlots {
 public:
  explicit ThumbnailSlots(size_t cells) : style_of_cell_(cells, kNone), last_use_(cells, 0) {}

  struct Slot {
    int cell;
    bool fresh;  // the cell does not hold the style's thumbnail yet: it must be made into it
  };
  Slot For(size_t style);
  size_t Cells() const { return style_of_cell_.size(); }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> style_of_cell_;
  std::vector<uint64_t> last_use_;
  std::vector<int> cell_of_style_;  // -1: none
  uint64_t clock_ = 0;
};

}  // namespace coiffure
