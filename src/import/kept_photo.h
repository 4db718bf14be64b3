// The customer photo as it was before its hair was given another colour: kept once beside
// test.bmp as 原照片.bmp, so that every further colour starts from it and it can be put back.
// The desk records which photos it wrote from it; a test.bmp that is none of them (a snapshot
// of Coiffure's, a photo copied in by hand) belongs to a new customer, whose photo the kept one
// is not.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "import/importer.h"

namespace coiffure {

inline constexpr const char* kKeptPhotoName = "原照片.bmp";
// Which test.bmp files the desk wrote from the kept photo: hidden from the operator's eye
// beside it (Coiffure never lists ml_data).
inline constexpr const char* kRecolouredRecordName = ".coiffure-recoloured";

inline constexpr const char* kMsgNoCustomerPhoto = "没有顾客照片 ml_data\\test.bmp";
inline constexpr const char* kMsgCustomerPhotoUnreadable =
    "无法读取顾客照片 ml_data\\test.bmp（不是 BMP 图片或已损坏）";
inline constexpr const char* kMsgKeptPhotoBroken =
    "无法读取原照片 ml_data\\原照片.bmp（不是 BMP 图片或已损坏）";
inline constexpr const char* kMsgKeptPhotoNotWritten = "无法保存原照片 ml_data\\原照片.bmp";
inline constexpr const char* kMsgNothingToRestore = "没有保存的原照片";
inline constexpr const char* kMsgKeptPhotoOfAnother =
    "ml_data\\原照片.bmp 是以前那张照片的，顾客照片已换成了新的，所以没有恢复";

// The bytes of a file of the photo folder, by name; throws ImportError when it cannot be read.
using ReadFolderFile = std::function<std::vector<uint8_t>(const std::string& name)>;

struct PhotoFolder {
  LibraryFolder& folder;
  ReadFolderFile read;
};

// A photo recognised by its bytes, not by its time or size (64-bit FNV-1a).
uint64_t Fingerprint(std::span<const uint8_t> bytes);

// The photo a new colour starts from.
struct OriginalPhoto {
  std::vector<uint8_t> bytes;
  bool kept = false;  // it is 原照片.bmp, and test.bmp was written from it
};

// The kept photo while test.bmp is still it or one the desk wrote from it; else test.bmp
// itself. Throws ImportError when there is no photo or it cannot be read.
OriginalPhoto ReadOriginalPhoto(PhotoFolder& photos);

// Puts a photo recoloured from `original` in place as test.bmp in one step: first keeps the
// original as 原照片.bmp unless it is kept already (so a recoloured photo is never kept), and
// records the new photo as written from it. Throws ImportError on any failure; test.bmp is then
// as it was.
void PutRecolouredPhoto(PhotoFolder& photos, const OriginalPhoto& original,
                        std::span<const uint8_t> recoloured);

// Moves the kept photo back over test.bmp in one step. False with the reason when there is
// none, or when test.bmp is a new customer's (the kept photo is then left as it is); throws
// ImportError when test.bmp cannot be replaced.
struct RestoreResult {
  bool restored = false;
  std::string message;  // when not restored: why, in Chinese
};
RestoreResult RestoreOriginalPhoto(PhotoFolder& photos);

// A new customer photo is in place: the previous customer's kept photo is no longer its
// original. The record goes first, so that a kept photo left behind is never trusted.
void ForgetOriginalPhoto(LibraryFolder& photos);

}  // namespace coiffure
