#include "desk/desk_rows.h"

#include <algorithm>

#include "colour/variants.h"
#include "gallery/selection.h"

namespace coiffure {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

DeskRow StyleRow(const ImportResult& result, const std::string& library_folder) {
  DeskRow row{FileNameOf(result.path), ResultText(result), result.imported, {}, result.path};
  if (result.imported && result.note == kNoteLooksLikePhoto) {
    row.result += "（" + result.note + "）";
    row.offers_cutout = true;
  }
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
  row.path = library_folder + FileNameOf(variant.path);
  row.kind = DeskRow::Kind::kVariant;
  row.offers_cutout = false;
  return row;
}

DeskRow UnusedPhotoRow(const std::string& path) {
  return {FileNameOf(path),      "未使用：一次只能换一张顾客照片", false, {}, path,
          DeskRow::Kind::kUnused};
}

DeskRow PhotoRow(const PhotoResult& result, const std::string& photo_path) {
  DeskRow row{FileNameOf(result.path), PhotoResultText(result), result.replaced, {}, result.path,
              DeskRow::Kind::kPhoto};
  if (result.replaced) {
    row.preview.kind = PreviewSubject::Kind::kPhoto;
    row.preview.photo = photo_path;
  }
  return row;
}

std::string RowCaption(const std::vector<DeskRow>& rows, size_t i, const std::string& composed) {
  if (rows[i].preview.kind == PreviewSubject::Kind::kNothing) {
    const DeskRow::Kind kind = rows[i].kind;
    return rows[i].result + "。" +
           (kind == DeskRow::Kind::kPhoto    ? "顾客照片没有改变。"
            : kind == DeskRow::Kind::kUnused ? "顾客照片只用了第一个文件。"
                                             : "没有可以预览的内容。");
  }
  if (rows[i].offers_cutout) return kCaptionOffersCutout;
  if (rows[i].preview.kind != PreviewSubject::Kind::kPhoto) return composed;
  for (size_t later = i + 1; later < rows.size(); ++later)
    if (rows[later].preview.kind == PreviewSubject::Kind::kPhoto)
      return "这张照片已被后来换上的照片取代，下面是现在的顾客照片。" + composed;
  return composed;
}

std::string JobSummary(DeskRow::Kind kind, const JobCounts& c) {
  const int missed = c.refused + c.stopped;
  std::string text = c.stopped > 0 ? "已停止：" : "完成：";
  const std::string done = std::to_string(c.done), not_done = std::to_string(missed);
  switch (kind) {
    case DeskRow::Kind::kPhoto:
    case DeskRow::Kind::kUnused:
      text += c.done > 0 ? "顾客照片已更换" : "顾客照片没有更换";
      break;
    case DeskRow::Kind::kVariant:
      text += "已生成 " + done + " 款新发型";
      if (missed > 0) text += "，" + not_done + " 款没有生成";
      break;
    case DeskRow::Kind::kStyle:
      text += "已导入 " + done + " 个发型";
      if (missed > 0) text += "，" + not_done + " 个没有导入";
      break;
  }
  return text + (missed > 0 ? "（见红色行）。" : "。");
}

namespace {

// Where each character of a UTF-8 text begins, and the text's end.
std::vector<size_t> CharacterStarts(const std::string& s) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
  starts.push_back(s.size());
  return starts;
}

}  // namespace

std::string FitInMiddle(const std::string& text,
                        const std::function<bool(const std::string&)>& fits) {
  if (fits(text)) return text;
  const std::vector<size_t> at = CharacterStarts(text);
  const size_t chars = at.size() - 1;
  // The extension stays whole when it can, and the stem keeps both its ends: names of one
  // batch often differ only just before the extension ("_2.png").
  const size_t dot = text.find_last_of('.');
  const size_t ext =
      dot != std::string::npos && dot > 0 && text.size() - dot <= 8
          ? static_cast<size_t>(at.end() - std::lower_bound(at.begin(), at.end(), dot)) - 1
          : 0;
  const auto shortened = [&](size_t keep) {
    const size_t back = std::min(keep, ext) + (keep > ext ? (keep - ext) / 2 : 0);
    return text.substr(0, at[keep - back]) + "…" + text.substr(at[chars - back]);
  };
  size_t low = 0, high = chars;  // shortened(low) is taken (or nothing is); high is not
  while (high - low > 1) {
    const size_t mid = (low + high) / 2;
    (fits(shortened(mid)) ? low : high) = mid;
  }
  return shortened(low);
}

}  // namespace coiffure
