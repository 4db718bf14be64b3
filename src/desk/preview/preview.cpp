#include "desk/preview/preview.h"

#include <utility>

#include "import/customer_photo.h"
#include "workspace/workspace.h"

namespace coiffure {

Rect PairPreviewRect(int width, int height) {
  const int room_w = kPaintBoxWidth - 2 * kPairPreviewMargin;
  const int room_h = kPaintBoxHeight - 2 * kPairPreviewMargin;
  const Size s = FitInside(width, height, room_w, room_h);
  const int left = (kPaintBoxWidth - s.width) / 2, top = (kPaintBoxHeight - s.height) / 2;
  return {left, top, left + s.width, top + s.height};
}

namespace {

// The pictures are moved into a workspace for the composite's sake.
void Compose(Picture photo, Picture colour, Picture mask, const Rect& rect, Frame& frame) {
  Workspace ws;
  ws.Reset();
  ws.Photo = std::move(photo);
  ws.HairImage = std::move(colour);
  ws.HairMask = std::move(mask);
  ws.SetHairRect(rect);
  frame.Resize(kPaintBoxWidth, kPaintBoxHeight);
  ComposeWorkspace(ws, frame);
}

bool TryLoad(Picture& picture, const std::string& path) {
  try {
    picture.LoadFromFile(path);
    return true;
  } catch (const PictureError&) {
    return false;
  }
}

}  // namespace

void ComposePairPreview(Picture photo, Picture colour, Picture mask, Frame& frame) {
  const Rect rect = PairPreviewRect(colour.Width(), colour.Height());
  Compose(std::move(photo), std::move(colour), std::move(mask), rect, frame);
}

void ComposePhotoPreview(Picture photo, const Picture& image3, Frame& frame) {
  Compose(std::move(photo), {}, {}, {}, frame);
  const Rect& c = kImage3Cover;
  if (image3.Empty())
    frame.FillRect(c.left, c.top, c.right, c.bottom, {192, 192, 192});
  else
    BlitPicture(frame, image3, c.left, c.top);
}

std::string ComposePairOverPhoto(Picture colour, Picture mask, const std::string& photo_path,
                                 Frame& frame) {
  Picture photo;
  const bool have_photo = TryLoad(photo, photo_path);
  ComposePairPreview(std::move(photo), std::move(colour), std::move(mask), frame);
  return std::string(have_photo ? "发型叠在当前的顾客照片上"
                                : "没有找到顾客照片，发型叠在背景色上") +
         "，合成方式与 Coiffure 相同；发型按比例缩放到预览框中，便于查看边缘。";
}

std::string ComposePreview(const PreviewSubject& subject, const std::string& photo_path,
                           const Picture& image3, Frame& frame) {
  Picture photo, colour, mask;
  switch (subject.kind) {
    case PreviewSubject::Kind::kPair:
      if (!TryLoad(colour, subject.colour) || !TryLoad(mask, subject.mask)) break;
      return ComposePairOverPhoto(std::move(colour), std::move(mask), photo_path, frame);
    case PreviewSubject::Kind::kPhoto:
      if (!TryLoad(photo, subject.photo)) break;
      ComposePhotoPreview(std::move(photo), image3, frame);
      return "顾客照片在 Coiffure 图片区中的样子：居中显示，左下角被摄像头画面遮住。";
    case PreviewSubject::Kind::kNothing:
      frame.Resize(kPaintBoxWidth, kPaintBoxHeight);
      frame.Fill(kTeal);
      return "没有可以预览的内容。";
  }
  frame.Resize(kPaintBoxWidth, kPaintBoxHeight);
  frame.Fill(kTeal);
  return "无法读取要预览的图片，它可能已被删除、改名或正被别的程序占用。";
}

}  // namespace coiffure
