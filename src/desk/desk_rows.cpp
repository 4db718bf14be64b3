#include "desk/desk_rows.h"

#include "colour/variants.h"
#include "gallery/selection.h"

namespace coiffure {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

DeskRow StyleRow(const ImportResult& result, const std::string& library_folder) {
  DeskRow row{FileNameOf(result.path), ResultText(result), result.imported, {}};
  if (result.imported) {
    row.preview.kind = PreviewSubject::Kind::kPair;
    row.preview.colour = library_folder + result.picture;
    row.preview.mask = library_folder + MaskNameFor(result.picture);
  }
  return row;
}

DeskRow VariantRow(const ImportResult& variant, const std::string& shade_name,
                   const std::string& library_folder) {
  DeskRow row = StyleRow(variant, library_folder);
  row.file += " " + shade_name;
  row.result = VariantText(variant);
  return row;
}

DeskRow PhotoRow(const PhotoResult& result, const std::string& photo_path) {
  DeskRow row{FileNameOf(result.path), PhotoResultText(result), result.replaced, {}};
  if (result.replaced) {
    row.preview.kind = PreviewSubject::Kind::kPhoto;
    row.preview.photo = photo_path;
  }
  return row;
}

std::string RowCaption(const std::vector<DeskRow>& rows, size_t i, const std::string& composed) {
  if (rows[i].preview.kind != PreviewSubject::Kind::kPhoto) return composed;
  for (size_t later = i + 1; later < rows.size(); ++later)
    if (rows[later].preview.kind == PreviewSubject::Kind::kPhoto)
      return "这张照片已被后来换上的照片取代，下面是现在的顾客照片。" + composed;
  return composed;
}

}  // namespace coiffure
