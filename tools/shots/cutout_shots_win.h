// The cut-out window for screenshots and timing: the desk's window over a program folder with
// the cut-out window open on a photo, driven from outside (xdotool) or by the caller.
#pragma once

#include <string>

namespace coiffure {

// Shows the desk over APP's ml_fx and ml_data, opens the cut-out window on the photo and runs
// until it is closed or `seconds` pass; prints when the photo was ready and, for each change
// of the marks, the time until its matte was shown. The desk's own rows stay when it closes,
// for a screenshot of them, until the time is up.
int ShowCutout(const std::wstring& app, const std::wstring& photo, int seconds);
// The same with the window opened to give the customer's own hair in APP's photo a shade.
int ShowOwnHair(const std::wstring& app, int seconds);

}  // namespace coiffure
