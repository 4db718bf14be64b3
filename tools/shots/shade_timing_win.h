// Figures of the desk's colour-variant chooser under the platform: the time to open it over a
// library, the thumbnails it makes, the time of each preview, and the memory it keeps.
#pragma once

#include <string>

namespace coiffure {

// The chooser over APP\ml_fx, its previews over APP\ml_data\test.bmp (app ends in a backslash).
int TimeShadeChooser(const std::wstring& app, int runs);

}  // namespace coiffure
