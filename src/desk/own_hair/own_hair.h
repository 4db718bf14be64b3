// The customer's own hair in another colour, as the desk does it: the photo a colour starts
// from with the marks kept for it, its hair cut out by the marks, recoloured under the soft
// matte, and put in place as the customer photo.
#pragma once

#include <optional>
#include <string>

#include "cutout/marks.h"
#include "imaging/picture.h"
#include "import/kept_photo.h"
#include "pictures/picture_source.h"

namespace coiffure {

// The marks of the photo a colour starts from, kept beside it for the next use.
inline constexpr const char* kMarksFileName = ".coiffure-marks";

inline constexpr const char* kMsgMarksUnreadable = "无法读取标记图";
inline constexpr const char* kMsgPhotoChangedMeanwhile =
    "顾客照片在这期间已被换过，请重新打开“换自己的发色”";

// The photo a colour starts from (the kept original, else test.bmp), decoded, with the marks
// kept the last time it was used when it is still the same photo.
struct OwnHairStart {
  OriginalPhoto original;
  Picture photo;  // 24 bits
  std::optional<cutout::Sketch> marks;
};
// Throws ImportError when there is no photo or it cannot be read.
OwnHairStart StartOwnHair(PhotoFolder& photos);

// The photo as the cut-out reads photos.
RgbaImage RgbaOf(const Picture& photo);

// Puts the recoloured photo in place as test.bmp (PutRecolouredPhoto), after keeping the marks
// for the photo it started from. Throws ImportError, test.bmp then as it was; so when the photo
// a colour would now start from is no longer the one `start` read.
void UseAsCustomerPhoto(PhotoFolder& photos, const OwnHairStart& start, const Picture& recoloured,
                        const cutout::Sketch& marks);

// What a use of the customer's own colour did, as its line and its row say it.
struct OwnShadeOutcome {
  bool done = false;
  std::string text;
};

// "已换上发色 NAME，原照片保存在 ml_data\原照片.bmp", with the shade's note when it was out of
// reach; "未换发色：REASON".
std::string OwnShadeText(bool done, const std::string& shade_or_reason, const std::string& note);

// The command line's one step: the shade (as /shade takes it, checked before anything is read),
// the marks picture (as /matte takes it, of the photo's size), the matte, the photo recoloured
// and put in place.
OwnShadeOutcome ApplyOwnShade(PhotoFolder& photos, PictureSource& source, const std::string& shade,
                              const std::string& marks_path);

// The kept original put back: "已恢复原照片", or "未恢复原照片：REASON".
OwnShadeOutcome UndoOwnShade(PhotoFolder& photos);

}  // namespace coiffure
