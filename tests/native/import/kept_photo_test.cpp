// The photo as it was, kept once beside the recoloured one, put back in one step, and let go
// when a new customer's photo takes its place.
#include "import/kept_photo.h"

#include <gtest/gtest.h>

#include "import/customer_photo.h"
#include "native/import_fakes.h"

namespace coiffure {
namespace {

using importtest::FakeFolder;
using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

const Bytes kA = {'A', 1, 2}, kR1 = {'R', 1}, kR2 = {'R', 2}, kNew = {'N', 9};

class KeptPhoto : public importtest::Import {
 protected:
  void SetUp() override {
    Import::SetUp();
    Put(kPhotoFileName, kA);
  }
  void Put(const std::string& name, const Bytes& bytes) {
    folder.files[FakeFolder::Key(name)] = {name, bytes};
  }
  Bytes At(const std::string& name) { return folder.files.at(FakeFolder::Key(name)).second; }
  void Recolour(const Bytes& to) { PutRecolouredPhoto(photos, ReadOriginalPhoto(photos), to); }
  PhotoFolder photos{folder, importtest::ReaderOf(folder)};
};

TEST_F(KeptPhoto, KeptOnceEveryColourStartsFromItAndItIsPutBackInOneStep) {
  const OriginalPhoto first = ReadOriginalPhoto(photos);
  EXPECT_EQ(first.bytes, kA);
  EXPECT_FALSE(first.kept);
  Recolour(kR1);
  EXPECT_EQ(At(kPhotoFileName), kR1);
  const OriginalPhoto second = ReadOriginalPhoto(photos);
  EXPECT_EQ(second.bytes, kA);
  EXPECT_TRUE(second.kept);
  PutRecolouredPhoto(photos, second, kR2);
  EXPECT_EQ(At(kKeptPhotoName), kA) << "a recoloured photo was kept";
  EXPECT_EQ(ReadOriginalPhoto(photos).bytes, kA);

  const RestoreResult back = RestoreOriginalPhoto(photos);
  EXPECT_TRUE(back.restored) << back.message;
  EXPECT_EQ(At(kPhotoFileName), kA);
  EXPECT_EQ(folder.Names(), Names{kPhotoFileName});  // nothing kept, no temporaries
  EXPECT_EQ(RestoreOriginalPhoto(photos).message, kMsgNothingToRestore);
  EXPECT_EQ(At(kPhotoFileName), kA);
}

// However the new customer's photo arrived, the last customer's original is never hers: it is
// not restored over her photo and her own photo is what the next colour keeps.
TEST_F(KeptPhoto, ANewCustomersPhotoIsNeverTakenForTheKeptOriginal) {
  struct Case {
    const char* how;
    std::function<void()> replace;
    bool kept_left;
  };
  const Case cases[] = {
      {"desk", [this] { ReplaceCustomerPhoto("C:\\in\\Bob.png", source, folder); }, false},
      {"snapshot", [this] { Put(kPhotoFileName, kNew); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    Put(kPhotoFileName, kA);
    ForgetOriginalPhoto(folder);
    Recolour(kR1);
    c.replace();
    const Bytes now = At(kPhotoFileName);
    EXPECT_EQ(folder.Exists(kKeptPhotoName), c.kept_left);
    const OriginalPhoto o = ReadOriginalPhoto(photos);
    EXPECT_EQ(o.bytes, now);
    EXPECT_FALSE(o.kept);
    EXPECT_FALSE(RestoreOriginalPhoto(photos).restored);
    EXPECT_EQ(At(kPhotoFileName), now);
    PutRecolouredPhoto(photos, o, kR2);
    EXPECT_EQ(At(kKeptPhotoName), now);
  }
}

// Each step that can fail, on the first colour and on a second (which keeps nothing new, so
// its moves are one fewer): test.bmp as it was, the original still the one a colour starts
// from, no file more or less than before.
TEST_F(KeptPhoto, AFailedStepLosesNothing) {
  struct Case {
    int moves[2], writes;
    const char* message;
  };
  const Case cases[] = {
      {{0, -1}, 9, kMsgKeptPhotoNotWritten},
      {{1, 0}, 9, kMsgPhotoFolderNotWritable},  // the record
      {{2, 1}, 9, kMsgPhotoNotReplaced},        // test.bmp read-only or busy
      {{9, 9}, 0, kMsgFolderNotWritable},       // the fake folder's own refusal
  };
  for (const int second : {0, 1})
    for (const Case& c : cases) {
      if (c.moves[second] < 0) continue;
      SCOPED_TRACE(std::string(c.message) + (second ? " second" : " first"));
      Put(kPhotoFileName, kA);
      ForgetOriginalPhoto(folder);
      if (second) Recolour(kR1);
      const Bytes before = At(kPhotoFileName);
      const Names names = folder.Names();
      folder.moves_left = c.moves[second], folder.writes_left = c.writes;
      EXPECT_EQ(ReasonItFailed([&] { Recolour(kR2); }), c.message);
      folder.moves_left = folder.writes_left = 1000;
      EXPECT_EQ(At(kPhotoFileName), before);
      EXPECT_EQ(ReadOriginalPhoto(photos).bytes, kA);
      EXPECT_EQ(folder.Names(), names);
      if (!second) continue;
      folder.moves_left = 0;
      EXPECT_EQ(ReasonItFailed([&] { RestoreOriginalPhoto(photos); }), kMsgPhotoNotReplaced);
      EXPECT_EQ(At(kPhotoFileName), kR1);
      EXPECT_EQ(At(kKeptPhotoName), kA);
    }
}

TEST_F(KeptPhoto, APhotoMissingOrBusyIsRefusedWithItsReason) {
  folder.Remove(kPhotoFileName);
  EXPECT_EQ(ReasonItFailed([&] { ReadOriginalPhoto(photos); }), kMsgNoCustomerPhoto);
  Put(kPhotoFileName, kA);
  PhotoFolder busy{folder, [&](const std::string& name) -> Bytes {
                     if (name == kPhotoFileName) throw PictureError("sharing violation");
                     return At(name);
                   }};
  EXPECT_NE(ReasonItFailed([&] { ReadOriginalPhoto(busy); }).find("占用"), std::string::npos);
}

}  // namespace
}  // namespace coiffure
