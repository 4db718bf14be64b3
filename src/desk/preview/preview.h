// The desk's preview of a result, drawn by the same composite Coiffure paints with, into a frame
// the size of Coiffure's paint box. It takes pictures from whatever made them: a colour picture
// with its mask (an imported style, or any other pair), or a customer photo.
#pragma once

#include <string>

#include "imaging/picture.h"
#include "workspace/composite.h"

namespace coiffure {

// The corner of the paint box that Coiffure's picture Image3 (and the camera preview) covers.
inline constexpr Rect kImage3Cover{0, 298, 160, 444};
// Room left around a pair, so that its outermost pixels stand clear of the frame's edge.
inline constexpr int kPairPreviewMargin = 16;

// Where a pair of this size is stretched to: proportions kept, as large as the box allows
// inside the margin, centred.
Rect PairPreviewRect(int width, int height);

// The photo centred as the paint box shows it, the pair stretched into PairPreviewRect through
// Coiffure's composite (photo AND mask, then OR colour). An empty photo leaves the background.
// The pictures are taken by value: move them in when they are not needed after.
void ComposePairPreview(Picture photo, Picture colour, Picture mask, Frame& frame);

// The photo exactly as the paint box shows it, with Image3's corner covered by its picture
// (grey when there is none).
void ComposePhotoPreview(Picture photo, const Picture& image3, Frame& frame);

// The pair over the customer photo read from photo_path (over the background when there is
// none), as ComposePairPreview places it; returns the caption that says so.
std::string ComposePairOverPhoto(Picture colour, Picture mask, const std::string& photo_path,
                                 Frame& frame);

// What a preview shows, by the files that hold it, so that a list of results keeps names rather
// than pictures; the files are read when the preview is drawn.
struct PreviewSubject {
  enum class Kind { kNothing, kPair, kPhoto };
  Kind kind = Kind::kNothing;
  std::string colour, mask;  // kPair: full paths of the colour picture and its mask
  std::string photo;         // kPhoto: full path of the photo
};

// Reads the subject's files (a pair goes over the photo at photo_path) and composes its preview
// into frame; returns the caption under it, which says why when a file cannot be read.
std::string ComposePreview(const PreviewSubject& subject, const std::string& photo_path,
                           const Picture& image3, Frame& frame);

}  // namespace coiffure
