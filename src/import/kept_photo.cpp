#include "import/kept_photo.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "import/customer_photo.h"

namespace coiffure {

namespace {

inline constexpr const char* kMsgPhotoBusy =
    "无法读取顾客照片 ml_data\\test.bmp（文件正被别的程序占用）";
inline constexpr const char* kMsgKeptPhotoUnreadable = "无法读取原照片 ml_data\\原照片.bmp";
// Enough for any afternoon's colours of one customer; the oldest are forgotten first.
constexpr size_t kMaxRecorded = 64;

// The kept photo's fingerprint, then one line for each test.bmp written from it.
struct Record {
  uint64_t kept = 0;
  std::vector<uint64_t> written;
};

std::string Hex(uint64_t v) {
  char text[17];
  for (int i = 15; i >= 0; --i, v >>= 4) text[i] = "0123456789abcdef"[v & 15];
  return std::string(text, 16);
}

std::optional<Record> ParseRecord(std::string_view text) {
  std::vector<uint64_t> values;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    uint64_t v = 0;
    const auto [at, error] = std::from_chars(line.data(), line.data() + line.size(), v, 16);
    if (error != std::errc() || at != line.data() + line.size() || line.size() != 16) return {};
    values.push_back(v);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  if (values.empty()) return {};
  return Record{values[0], {values.begin() + 1, values.end()}};
}

std::vector<uint8_t> RecordBytes(const Record& record) {
  std::string text = Hex(record.kept) + "\n";
  for (uint64_t v : record.written) text += Hex(v) + "\n";
  return {text.begin(), text.end()};
}

std::vector<uint8_t> ReadOr(PhotoFolder& photos, const char* name, const char* refusal) {
  try {
    return photos.read(name);
  } catch (...) {
    throw ImportError(refusal);
  }
}

// Writes the bytes as the file `name` in one step, or throws ImportError(refusal) leaving the
// folder as it was.
void PutFile(LibraryFolder& folder, const char* role, std::span<const uint8_t> bytes,
             const char* name, const char* refusal) {
  const std::string temp = folder.WriteTemporary(role, bytes);
  if (folder.MoveReplacing(temp, name)) return;
  folder.Remove(temp);
  throw ImportError(refusal);
}

// The kept photo and its record, when test.bmp (its fingerprint, or nothing when there is no
// test.bmp) is the kept photo or was written from it.
struct Kept {
  std::vector<uint8_t> bytes;
  Record record;
};
std::optional<Kept> KeptFor(PhotoFolder& photos, std::optional<uint64_t> photo) {
  if (!photos.folder.Exists(kKeptPhotoName) || !photos.folder.Exists(kRecolouredRecordName))
    return {};
  std::optional<Record> record;
  try {
    const std::vector<uint8_t> text = photos.read(kRecolouredRecordName);
    record = ParseRecord({reinterpret_cast<const char*>(text.data()), text.size()});
  } catch (...) {
  }
  if (!record) return {};
  Kept kept{ReadOr(photos, kKeptPhotoName, kMsgKeptPhotoUnreadable), *record};
  if (Fingerprint(kept.bytes) != record->kept) return {};
  const auto& w = record->written;
  if (photo && *photo != record->kept && std::find(w.begin(), w.end(), *photo) == w.end())
    return {};
  return kept;
}

std::optional<std::vector<uint8_t>> ReadTestPhoto(PhotoFolder& photos) {
  if (!photos.folder.Exists(kPhotoFileName)) return {};
  return ReadOr(photos, kPhotoFileName, kMsgPhotoBusy);
}

std::optional<uint64_t> FingerprintOf(const std::optional<std::vector<uint8_t>>& bytes) {
  if (!bytes) return {};
  return Fingerprint(*bytes);
}

}  // namespace

uint64_t Fingerprint(std::span<const uint8_t> bytes) {
  uint64_t h = 14695981039346656037ull;
  for (const uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

OriginalPhoto ReadOriginalPhoto(PhotoFolder& photos) {
  std::optional<std::vector<uint8_t>> photo = ReadTestPhoto(photos);
  if (std::optional<Kept> kept = KeptFor(photos, FingerprintOf(photo)))
    return {std::move(kept->bytes), true};
  if (!photo) throw ImportError(kMsgNoCustomerPhoto);
  return {std::move(*photo), false};
}

void PutRecolouredPhoto(PhotoFolder& photos, const OriginalPhoto& original,
                        std::span<const uint8_t> recoloured) {
  LibraryFolder& folder = photos.folder;
  folder.Prepare();
  Record record;
  std::optional<Kept> kept;
  if (original.kept) kept = KeptFor(photos, std::nullopt);
  const bool keep_now = !kept || kept->record.kept != Fingerprint(original.bytes);
  if (keep_now) {
    // Kept before anything else is written: from here on the photo as it was is never lost.
    PutFile(folder, "original", original.bytes, kKeptPhotoName, kMsgKeptPhotoNotWritten);
    record.kept = Fingerprint(original.bytes);
  } else {
    record = std::move(kept->record);
  }
  record.written.push_back(Fingerprint(recoloured));
  if (record.written.size() > kMaxRecorded) record.written.erase(record.written.begin());
  try {
    // Recorded before test.bmp is replaced, so that the new test.bmp is always known as ours.
    PutFile(folder, "record", RecordBytes(record), kRecolouredRecordName,
            kMsgPhotoFolderNotWritable);
    PutFile(folder, "photo", recoloured, kPhotoFileName, kMsgPhotoNotReplaced);
  } catch (const ImportError&) {
    // test.bmp is still the original: a copy of it kept just now would only be a stray file.
    if (keep_now) ForgetOriginalPhoto(folder);
    throw;
  }
}

RestoreResult RestoreOriginalPhoto(PhotoFolder& photos) {
  LibraryFolder& folder = photos.folder;
  if (!folder.Exists(kKeptPhotoName)) return {false, kMsgNothingToRestore};
  if (!KeptFor(photos, FingerprintOf(ReadTestPhoto(photos))))
    return {false, kMsgKeptPhotoOfAnother};
  if (!folder.MoveReplacing(kKeptPhotoName, kPhotoFileName))
    throw ImportError(kMsgPhotoNotReplaced);
  folder.Remove(kRecolouredRecordName);
  return {true, {}};
}

void ForgetOriginalPhoto(LibraryFolder& photos) {
  photos.Remove(kRecolouredRecordName);
  photos.Remove(kKeptPhotoName);
}

}  // namespace coiffure
