// The companion program's command line, and the files its open-file dialog gives.
#pragma once

#include <string>
#include <vector>

namespace coiffure {

// The command line after the program's own name: "/quiet" (any case, "-quiet" too) anywhere
// asks for no window; "/photo" takes the argument after it as a customer photo (an empty name
// when none follows or a switch does); "/shade NAME" asks for colour variants in that shade
// (once per shade wanted; a missing NAME is kept as an empty one); "/matte MARKS PHOTO OUT" and
// "/cutout MARKS PHOTO" take the files after them (as many as there are before the next switch,
// at most three and two); "/own-shade SHADE MARKS" gives the customer's own hair a shade,
// "/own-shade-undo" puts her photo back as it was; every other argument is a picture file for a
// style.
struct CutoutCommand {
  bool import = false;             // "/cutout": the cut-out imported; "/matte": the matte written
  std::vector<std::string> files;  // marks, photo, and for "/matte" the PNG, as far as given
};
struct OwnShadeAsked {
  std::string shade, marks;  // empty when not given
};
struct ImportCommand {
  bool quiet = false;
  std::vector<std::string> files;
  std::vector<std::string> photos;  // one a "/photo", in order: only the first can be used
  std::vector<std::string> shades;
  std::vector<CutoutCommand> cutouts;
  std::vector<OwnShadeAsked> own_shades;  // one a "/own-shade": only the first can be used
  int own_shade_undos = 0;
};
ImportCommand ParseImportCommand(const std::vector<std::string>& args);

// The files an open-file dialog with multiple selection gives: its strings, each ended by a NUL,
// are either one full path or a folder followed by the names chosen in it.
std::vector<std::string> SplitDialogSelection(const std::string& strings);

}  // namespace coiffure
