// Where pictures come from: a file decoded by whatever the platform offers, or a refusal whose
// text the operator reads.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "pictures/rgba_image.h"

namespace coiffure {

// A refusal whose message is the Chinese text the user sees.
class ImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kMsgCannotOpenPicture = "无法打开这个文件";
inline constexpr const char* kMsgNotAPicture = "无法读取，不是图片或图片已损坏";
inline constexpr const char* kMsgPictureTooLarge = "图片太大，无法导入";
inline constexpr const char* kMsgOutOfMemory = "内存不足，无法导入";
inline constexpr const char* kMsgNoImagingComponent = "系统的图片组件不可用，无法读取图片";
// A folder reaches the decoder only when it holds no picture to import: a folder with pictures
// stands for them (PictureFiles).
inline constexpr const char* kMsgFolderWithoutPictures = "这个文件夹里没有可以导入的图片";
// Pictures of a format this system has no decoder for, each with what to do instead.
inline constexpr const char* kMsgHeifPhoto =
    "这是 HEIC/HEIF 格式的照片，本机无法读取。请在 iPhone 上选 设置 › 相机 › 格式 › 兼容性最佳，"
    "或把照片以 JPEG 格式发送";
inline constexpr const char* kMsgAvifPicture =
    "这是 AVIF 格式的图片，本机无法读取。请把它另存为 JPEG 或 PNG 后再导入";

// A picture turned upright, and the EXIF orientation it was turned by (1: it is as stored), so
// that a picture drawn over the stored one can be turned the same way.
struct TurnedPicture {
  RgbaImage image;
  int orientation = 1;
};

// Decodes a picture file (UTF-8 path); throws ImportError with one of the messages above.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  virtual RgbaImage Decode(const std::string& path) = 0;
  // The same, with the turn it took; a source that never turns pictures has this default.
  virtual TurnedPicture DecodeTurned(const std::string& path) { return {Decode(path), 1}; }
};

// Runs work; "" when it succeeded, else the Chinese reason of its failure (an ImportError's own
// text, or the text for running out of memory or for a picture that cannot be read).
std::string ReasonItFailed(const std::function<void()>& work);

}  // namespace coiffure
