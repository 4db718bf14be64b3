// The rows of the picture desk's list: each file handed in, what became of it, and what its
// preview shows. A row names files rather than holding pictures, so a long list costs little.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "desk/preview/preview.h"
#include "import/customer_photo.h"
#include "import/importer.h"

namespace coiffure {

struct DeskRow {
  enum class Kind { kStyle, kPhoto, kVariant, kUnused };
  std::string file;    // the file's name without its folder (a variant's: style and shade)
  std::string result;  // what became of it
  bool ok = false;     // false for a refusal
  PreviewSubject preview;
  std::string path;  // the whole file name, with its folder, as it was handed in
  Kind kind = Kind::kStyle;
  // An import of what looks like a photo of a person: the row offers the cut-out of its hair.
  bool offers_cutout = false;
};

// Under the preview of a row that offers the cut-out.
inline constexpr const char* kCaptionOffersCutout =
    "像是人物照片：这个发型里可能带着脸和背景。双击这一行（或选中后按 "
    "Enter）可以从照片中只剪出头发。";

// The refusal of a file whose turn had not come when the work was stopped.
inline constexpr const char* kMsgStopped = "已停止";

// library_folder and photo_path: full paths (the folder ending in a backslash).
DeskRow StyleRow(const ImportResult& result, const std::string& library_folder);
DeskRow PhotoRow(const PhotoResult& result, const std::string& photo_path);
// A colour variant of a style: the style's file and the shade's name, "已生成 NAME" or why not.
DeskRow VariantRow(const ImportResult& variant, const std::string& shade_name,
                   const std::string& library_folder);
// A file handed in with the photo that was not used: only one photo is taken at a time.
DeskRow UnusedPhotoRow(const std::string& path);

// The caption under row i's preview: the composed preview's own, after a note when a later row
// has replaced the photo this row made (the preview then shows the photo there is now); for a
// refusal, what was refused and why; for a row that offers the cut-out, how to get it.
std::string RowCaption(const std::vector<DeskRow>& rows, size_t i, const std::string& composed);

std::string FileNameOf(const std::string& path);

// The status line once a job of rows of one kind is over: what it did, counted.
struct JobCounts {
  int done = 0, refused = 0, stopped = 0;
};
std::string JobSummary(DeskRow::Kind kind, const JobCounts& counts);

// The text whole when fits() takes it, else as many of its characters as fit, kept from both
// ends around "…" (the end of a name tells two long names apart as often as its beginning).
// Never cuts inside a character; fits() is asked about O(log n) candidates.
std::string FitInMiddle(const std::string& text,
                        const std::function<bool(const std::string&)>& fits);

}  // namespace coiffure
