// Figures of the picture desk under the platform: the customer photo made from a file, and the
// window with many results (memory kept, time to show a row's preview).
#pragma once

#include <string>

namespace coiffure {

// The performance counter, in milliseconds.
double NowMs();

// Makes the file the photo of a scratch ml_data `runs` times; prints the time of each and of its
// decoding alone.
int TimePhoto(const std::wstring& file, int runs);

// Imports the file `count` times into a scratch library through the desk's window, then shows
// each row's preview; prints the memory the process and the preview keep, and the times.
int TimeDesk(const std::wstring& file, int count);

}  // namespace coiffure
