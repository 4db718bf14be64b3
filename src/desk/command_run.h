// What the command line does without a window, one line per file ("FILE：TEXT") and every
// file not done counted in the exit code: the customer photo, the style imports, and the
// colour variants.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "colour/variants.h"
#include "desk/command_line.h"
#include "import/kept_photo.h"

namespace coiffure {

// Writes one result line.
using Report = std::function<void(const std::string& line)>;

inline constexpr const char* kMsgExtraPhoto = "未使用：一次只能换一张顾客照片";
inline constexpr const char* kMsgPhotoWithShade = "未使用：换发色时不换顾客照片";
inline constexpr const char* kMsgNoShadeName = "没有给出发色名称";
inline constexpr const char* kMsgNoStyleFile = "没有给出要换发色的发型文件";

inline constexpr const char* kMsgMatteFilesMissing =
    "需要三个文件：标记图、照片和要写出的 PNG 文件";
inline constexpr const char* kMsgCutoutFilesMissing = "需要两个文件：标记图和照片";
inline constexpr const char* kMsgCannotWriteFile = "无法写入这个文件";
inline constexpr const char* kMsgCutoutWithShade = "未使用：换发色时不剪发型";

// The switch a line names when what it needs was not given.
inline constexpr const char* kPhotoSwitch = "/photo";
inline constexpr const char* kShadeSwitch = "/shade";
inline constexpr const char* kMatteSwitch = "/matte";
inline constexpr const char* kCutoutSwitch = "/cutout";

// Writes a whole file (UTF-8 path), replacing one there was only once the new one is complete;
// throws ImportError when it cannot.
using WriteWholeFile = std::function<void(const std::string& path, std::span<const uint8_t>)>;

// Each "/matte" and "/cutout": the marks and the photo read, the matte made; "/matte" writes it
// as an 8-bit greyscale PNG ("OUT：已写出蒙版（W × H）"), "/cutout" imports the photo cut out
// along it as a style, with an import's line. A line names the file at fault when one is.
// Returns the number not done.
int RunCutouts(const std::vector<CutoutCommand>& cutouts, PictureSource& source,
               LibraryFolder& library, const WriteWholeFile& write, const Report& report);

// The first photo given is made the customer photo; each further one is not used; a "/photo"
// without its file says so. Returns the number not done.
int RunPhotos(const std::vector<std::string>& photos, PictureSource& source,
              LibraryFolder& photo_folder, const Report& report);

// The photos, then each file imported as a style. Returns the number not done.
int RunImports(const ImportCommand& command, PictureSource& source, LibraryFolder& library,
               LibraryFolder& photo_folder, const Report& report);

// The library the shade command works in: its folder, its full path (ending in a backslash),
// the full path of a file given, and its files' bytes.
struct ShadeLibrary {
  LibraryFolder& folder;
  std::string path;
  std::function<std::string(const std::string& file)> full_path;
  ReadLibraryFile read;
};

// Every shade of every file (MakeShadeVariants), one line per file and shade. A "/shade"
// without its name or a command without a file writes what is missing and does nothing
// else; so does a shade no palette has (MakeShadeVariants touches no file then). Photos are
// not used. Returns the number of variants not made (at least 1 when something is missing).
int RunShades(const ImportCommand& command, PictureSource& source, const ShadeLibrary& library,
              const Report& report);

inline constexpr const char* kOwnShadeSwitch = "/own-shade";
inline constexpr const char* kOwnShadeUndoSwitch = "/own-shade-undo";
inline constexpr const char* kMsgNoMarksFile = "没有给出标记图";
inline constexpr const char* kMsgExtraOwnShade = "未使用：一次只能换一次发色或恢复一次原照片";
inline constexpr const char* kMsgOtherWorkWithOwnShade = "未使用：给顾客照片换发色时不做别的";
// What the lines of the customer's own colour name.
inline constexpr const char* kPhotoInFolder = "ml_data\\test.bmp";

// True when the command asks for the customer's own hair in a shade or her photo back.
bool AsksForOwnShade(const ImportCommand& command);

// The first "/own-shade" (or, without one, "/own-shade-undo") in the photo folder, one line;
// everything else the command asks for gets a line saying it was not used. Returns the number
// not done.
int RunOwnShade(const ImportCommand& command, PictureSource& source, PhotoFolder& photos,
                const Report& report);

}  // namespace coiffure
