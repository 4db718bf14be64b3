// The customer photo from any picture: upright, the whole of it fitted into Coiffure's paint
// box, white where it was transparent, and put in place as the 24-bit ml_data\test.bmp in one
// step, so that a refused picture leaves the previous photo as it was.
#pragma once

#include <string>

#include "import/importer.h"

namespace coiffure {

// Coiffure's paint box, which shows the photo at its own size, centred.
inline constexpr int kPaintBoxWidth = 529, kPaintBoxHeight = 444;
inline constexpr const char* kPhotoFileName = "test.bmp";

inline constexpr const char* kMsgNoPhotoFile = "没有给出照片文件";
inline constexpr const char* kMsgPhotoFolderNotWritable = "无法写入照片文件夹 ml_data";
inline constexpr const char* kMsgPhotoNotReplaced =
    "无法替换 ml_data\\test.bmp（文件是只读的，或正被别的程序占用）";

// The largest size of these proportions inside the box, enlarged or reduced: one side equal to
// the box's, the other within it, rounded to the nearest pixel (at least 1).
Size FitInside(int width, int height, int box_width, int box_height);

// FitInside the paint box; a picture that fits already keeps its size.
Size PhotoSize(int width, int height);

// Straight BGRA to 24 bits: transparency shows a white backdrop, mixed in linear light.
Picture FlattenOnWhite(const RgbaImage& image);

// The photo Coiffure will show: brought to PhotoSize with the area-averaging reduction, then
// flattened.
Picture MakeCustomerPhoto(const RgbaImage& image);

struct PhotoResult {
  std::string path;  // the picture file as given
  bool replaced = false;
  Size size;            // on success: the photo's size
  std::string message;  // on refusal: why, in Chinese
};

// Decodes the picture, makes the photo and moves it over test.bmp in `photo_folder`; every
// failure is a refusal that leaves test.bmp and the folder as they were. A new photo is a new
// customer: the previous one's kept original goes (ForgetOriginalPhoto).
PhotoResult ReplaceCustomerPhoto(const std::string& path, PictureSource& source,
                                 LibraryFolder& photo_folder);

// "已换为顾客照片（W × H）", or "未换照片：REASON".
std::string PhotoResultText(const PhotoResult& result);
// What the operator does next to see a new photo: Coiffure's command that reloads the file.
std::string PhotoNextStep(const std::string& file_name);

}  // namespace coiffure
