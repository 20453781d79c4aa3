// The margins beside the grid: a height legend (the colour scale from 0 to
// 8000 with its heights) and a short status (what a click does, the point
// and height under the pointer, whether anything is unsaved). The layout and
// the texts are plain arithmetic; only DrawEditorOverlay calls GL, and it
// draws nothing where the grid may draw.
#pragma once

#include <string>
#include <vector>

namespace editor {

struct PointerState {
    bool inWindow; // false until the pointer enters the window, and after it leaves
    int x, y;      // window pixels, origin top left
};

extern PointerState pointer;
// What the status says besides its own lines: what the console waits for,
// or what the last save did. Empty when there is nothing to say.
extern std::string statusNotice;

// The pointer not yet in the window, no notice: the start state.
void ResetOverlayState();

const int LEGEND_TOP_HEIGHT = 8000; // the scale's top: "high"

const int OVERLAY_NONE = 0;        // margins too narrow: nothing drawn
const int OVERLAY_SIDES = 1;       // status left of the grid, a standing scale right of it
const int OVERLAY_ABOVE_BELOW = 2; // a lying scale above the grid, the status below it

struct PixelRect {
    int x, y, w, h; // window pixels, origin top left
};

struct OverlayLayout {
    int arrangement;      // OVERLAY_*
    PixelRect grid;       // every pixel the grid may touch, kept clear
    PixelRect legendArea; // the margin the legend is clipped to
    PixelRect statusArea; // the margin the status is clipped to
    PixelRect scale;      // the colour bar: 0 at its bottom (sides) or its left end
    int labelStep;        // height units between labelled heights
    int statusX, statusY; // baseline of the first status line
    int lineHeight;       // pixels between status baselines
};

// Where the legend and status go in a window of the given size (pixels, at
// least 1), beside the grid as the frame draws it.
OverlayLayout LayOutOverlay(float width, float height);

// The status, one entry per line, from the editing function, the contour
// elevation, the pointer and the unsaved-changes mark.
std::vector<std::string> StatusLines();

// Shows `notice` in the status from the next frame on ("" for none).
void SetStatusNotice(const std::string& notice);
// `text` broken at blanks into lines of at most `columns` characters (a word
// longer than that keeps a line of its own).
std::vector<std::string> WrapText(const std::string& text, size_t columns);

// Draws legend and status over the current frame, clipped to the margins.
void DrawEditorOverlay();

} // namespace editor
