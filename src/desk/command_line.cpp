#include "desk/command_line.h"

#include <algorithm>

#include "import/naming.h"

namespace coiffure {

ImportCommand ParseImportCommand(const std::vector<std::string>& args) {
  ImportCommand command;
  auto is = [](const std::string& text, const char* word) {
    const std::string arg = LowerAscii(text);
    return arg == std::string("/") + word || arg == std::string("-") + word;
  };
  const auto is_switch = [&](const std::string& text) {
    return is(text, "quiet") || is(text, "photo") || is(text, "shade") || is(text, "matte") ||
           is(text, "cutout") || is(text, "own-shade") || is(text, "own-shade-undo");
  };
  // The argument a switch takes, or "" when the next one is a switch of its own.
  const auto value_after = [&](size_t& i) {
    return i + 1 < args.size() && !is_switch(args[i + 1]) ? args[++i] : std::string();
  };
  for (size_t i = 0; i < args.size(); ++i) {
    if (is(args[i], "quiet"))
      command.quiet = true;
    else if (is(args[i], "photo"))
      command.photos.push_back(value_after(i));
    else if (is(args[i], "shade"))
      command.shades.push_back(value_after(i));
    else if (is(args[i], "matte") || is(args[i], "cutout")) {
      CutoutCommand cut{is(args[i], "cutout"), {}};
      while (cut.files.size() < (cut.import ? 2u : 3u) && i + 1 < args.size() &&
             !is_switch(args[i + 1]))
        cut.files.push_back(args[++i]);
      command.cutouts.push_back(std::move(cut));
    } else if (is(args[i], "own-shade-undo"))
      ++command.own_shade_undos;
    else if (is(args[i], "own-shade")) {
      OwnShadeAsked asked;
      asked.shade = value_after(i);
      if (!asked.shade.empty()) asked.marks = value_after(i);
      command.own_shades.push_back(asked);
    } else
      command.files.push_back(args[i]);
  }
  return command;
}

std::vector<std::string> SplitDialogSelection(const std::string& strings) {
  std::vector<std::string> parts;
  for (size_t at = 0; at < strings.size();) {
    const size_t end = std::min(strings.find('\0', at), strings.size());
    if (end == at) break;  // the empty string that ends the list
    parts.push_back(strings.substr(at, end - at));
    at = end + 1;
  }
  if (parts.size() <= 1) return parts;
  std::string folder = parts[0];
  if (folder.back() != '\\') folder += '\\';  // a drive's root already ends in one
  std::vector<std::string> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  return files;
}

}  // namespace coiffure
