// Screenshots of both programs: which folder they go to, what they are
// called, and writing one as a PNG file that never replaces another file.
// The picture itself comes from the caller's read-back of its frame.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// The pictures folder as `xdg-user-dir PICTURES` names it, read from
// user-dirs.dirs in `configHome` (HOME/.config when null, empty or relative) without
// running a program: XDG_PICTURES_DIR, whose "$HOME" stands for `home`;
// HOME/Pictures when the file names none. Whether it exists is not checked.
std::string PicturesFolder(const char* home, const char* configHome);

// Where a screenshot goes: `screenshotsVariable` (PELORIN_SCREENSHOTS) when
// set and not empty, else the pictures folder when it is a folder, else
// `home`.
std::string ScreenshotFolder(const char* screenshotsVariable, const char* home, const char* configHome);

// "pelorin-YYYYmmdd-HHMMSS.png" for `when`; attempt 2 and up put "-N"
// before ".png".
std::string ScreenshotName(const struct tm& when, int attempt);

// Encodes the image (rows top first, 3 bytes a pixel) and writes it as a new
// file in `folder`, named by ScreenshotName for `when`: a name already taken
// is never replaced, the next attempt's suffix is tried instead. Returns the
// path, or false with a one-line reason naming the folder or file; a file
// this call created is removed again when writing it failed.
bool SaveScreenshotIn(const std::string& folder, const struct tm& when, int width, int height,
                      const std::vector<uint8_t>& rgbTopFirst, std::string& pathOrReason);

// The screenshot key of both programs: `rgbBottomFirst` as glReadPixels
// gives it (GL_RGB, rows packed, bottom row first) is saved in the folder the
// environment chooses, named by the local time, and one line on standard
// output says "Screenshot saved: PATH" or "Screenshot not saved: REASON".
// Returns whether it was saved; the caller goes on either way.
bool SaveScreenshot(int width, int height, const std::vector<uint8_t>& rgbBottomFirst);
