// The rows of the picture desk's list: each file handed in, what became of it, and what its
// preview shows. A row names files rather than holding pictures, so a long list costs little.
#pragma once

#include <string>
#include <vector>

#include "desk/preview.h"
#include "import/customer_photo.h"
#include "import/importer.h"

namespace coiffure {

struct DeskRow {
  std::string file;    // the file's name without its folder
  std::string result;  // what became of it
  bool ok = false;     // false for a refusal
  PreviewSubject preview;
};

// library_folder and photo_path: full paths (the folder ending in a backslash).
DeskRow StyleRow(const ImportResult& result, const std::string& library_folder);
DeskRow PhotoRow(const PhotoResult& result, const std::string& photo_path);
// A colour variant of a style: the style's file and the shade's name, "已生成 NAME" or why not.
DeskRow VariantRow(const ImportResult& variant, const std::string& shade_name,
                   const std::string& library_folder);

// The caption under row i's preview: the composed preview's own, after a note when a later row
// has replaced the photo this row made (the preview then shows the photo there is now).
std::string RowCaption(const std::vector<DeskRow>& rows, size_t i, const std::string& composed);

std::string FileNameOf(const std::string& path);

}  // namespace coiffure
