// Resource identifiers shared by the .rc file and the program.
#pragma once

#define IDI_APP 1
#define IDB_SPLASH 101      // 329 x 263, splash picture
#define IDB_IMAGE3 102      // 160 x 146, picture under the camera preview
#define IDB_BAND 103        // 248 x 306, band bar background
#define IDB_TOOLBAR 104     // 208 x 16, 13 toolbar icons, magenta is transparent
#define IDB_ABOUT_MAIN 105  // 329 x 263, about box picture
#define IDB_ABOUT_LINK 106  // 39 x 37, icon beside the web address
#define IDB_ABOUT_MAIL 107  // 36 x 42, icon beside the e-mail address
#define IDB_BITBTN1 108     // 36 x 18, two glyphs of the log button
#define IDB_BITBTN4 109     // 18 x 19, save button glyph
#define IDC_HSPLIT 110      // 32 x 32 split pointer of the splitter, hot spot (15, 16)
