// The legend and status drawn in the margins around the editor's grid.
#include "editor/overlay.h"

#include <GL/glut.h>
#include <cmath>

#include "common/height_colour.h"
#include "editor/grid.h"
#include "editor/save.h"
#include "editor/tools.h"
#include "editor/view.h"

namespace editor {

PointerState pointer;
std::string statusNotice;

void ResetOverlayState()
{
    pointer = {false, 0, 0};
    statusNotice.clear();
}

void SetStatusNotice(const std::string& notice)
{
    statusNotice = notice;
}

std::vector<std::string> WrapText(const std::string& text, size_t columns)
{
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        if (!line.empty() && line.size() + 1 + word.size() > columns) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

const int NOTICE_CHAR_WIDTH = 7;  // pixels a character of the status font takes at most, nearly
const int SIDE_MARGIN_MIN = 120;  // pixels the status's longest line needs beside the grid
const int STACK_MARGIN_MIN = 36;  // pixels a lying scale with labels needs above the grid
const int TEXT_INSET = 6;         // pixels between a margin's edge and its text
const int LINE_HEIGHT = 16;       // pixels between baselines of the 12-pixel font
const int SCALE_GAP = 14;         // pixels between the grid and the scale
const int SCALE_THICKNESS = 12;
const int LABEL_GAP = 6;          // pixels between the scale and its labels
const int STANDING_LABEL_MIN = 14; // pixels between labels one above the other
const int LYING_LABEL_MIN = 40;    // pixels between labels side by side
const int LABEL_STEPS[] = {1000, 2000, 4000, 8000};
const float GRID_HALF_WIDTH = 20.0f; // world units from the view's centre to the grid's edge
void* const OVERLAY_FONT = GLUT_BITMAP_HELVETICA_12;
const int FONT_HALF_CAP = 4; // half the height of a digit, to centre labels on their height

// The grid's pixels in a window of the given size: the world square -20..20,
// widened to whole pixels so that no pixel the grid touches counts as margin.
static PixelRect GridPixels(float width, float height)
{
    ViewBox box = EditorViewBox(width, height);
    double left = (-GRID_HALF_WIDTH - box.left) / (box.right - box.left) * width;
    double right = (GRID_HALF_WIDTH - box.left) / (box.right - box.left) * width;
    double top = (box.top - GRID_HALF_WIDTH) / (box.top - box.bottom) * height;
    double bottom = (box.top + GRID_HALF_WIDTH) / (box.top - box.bottom) * height;
    PixelRect r;
    r.x = (int)std::floor(left);
    r.y = (int)std::floor(top);
    r.w = (int)std::ceil(right) - r.x;
    r.h = (int)std::ceil(bottom) - r.y;
    return r;
}

// The smallest step whose labels stay `minimum` pixels apart on a scale
// `length` pixels long.
static int LabelStep(int length, int minimum)
{
    for (int step : LABEL_STEPS)
        if ((long long)length * step >= (long long)minimum * LEGEND_TOP_HEIGHT)
            return step;
    return LEGEND_TOP_HEIGHT;
}

OverlayLayout LayOutOverlay(float width, float height)
{
    OverlayLayout o = {};
    o.grid = GridPixels(width, height);
    o.lineHeight = LINE_HEIGHT;
    int w = (int)width, h = (int)height;
    int gridRight = o.grid.x + o.grid.w, gridBottom = o.grid.y + o.grid.h;
    if (o.grid.x >= SIDE_MARGIN_MIN && w - gridRight >= SIDE_MARGIN_MIN) {
        o.arrangement = OVERLAY_SIDES;
        o.statusArea = {0, 0, o.grid.x, h};
        o.legendArea = {gridRight, 0, w - gridRight, h};
        o.scale = {gridRight + SCALE_GAP, o.grid.y, SCALE_THICKNESS, o.grid.h};
        o.labelStep = LabelStep(o.scale.h, STANDING_LABEL_MIN);
        o.statusX = TEXT_INSET;
        o.statusY = o.grid.y + LINE_HEIGHT - FONT_HALF_CAP;
    } else if (o.grid.y >= STACK_MARGIN_MIN && h - gridBottom >= STACK_MARGIN_MIN) {
        o.arrangement = OVERLAY_ABOVE_BELOW;
        o.legendArea = {0, 0, w, o.grid.y};
        o.statusArea = {0, gridBottom, w, h - gridBottom};
        o.scale = {o.grid.x, o.grid.y - SCALE_GAP, o.grid.w, SCALE_THICKNESS / 2 + 2};
        o.labelStep = LabelStep(o.scale.w, LYING_LABEL_MIN);
        o.statusX = o.grid.x;
        o.statusY = gridBottom + LINE_HEIGHT;
    } else {
        o.arrangement = OVERLAY_NONE;
    }
    return o;
}

static std::string FunctionLine()
{
    switch (editFunction) {
    case EDIT_INCREASE:
        return "Click: increase";
    case EDIT_DECREASE:
        return "Click: decrease";
    case EDIT_CONTOUR:
        return "Click: contour " + std::to_string(contourElevation);
    case EDIT_HIGH:
        return "Click: high";
    case EDIT_GROUND:
        return "Click: ground";
    case EDIT_RANDOM:
        return "Click: random";
    case EDIT_SMOOTH:
        return "Click: smooth";
    default:
        return "Click: no function";
    }
}

std::vector<std::string> StatusLines()
{
    std::vector<std::string> lines;
    lines.push_back(FunctionLine());
    GridCell cell = WindowToGridCell(pointer.x, pointer.y, windowWidth, windowHeight);
    int cx = cell.gridX, cy = cell.rowFromTop;
    bool onGrid = pointer.inWindow && cx >= 0 && cx < gridSizeX && cy >= 0 && cy < gridSizeY;
    if (onGrid) {
        // The numbers of the click's console line, and the height it would change.
        bool border = cx == 0 || cx == gridSizeX - 1 || cy == 0 || cy == gridSizeY - 1;
        lines.push_back("Point " + std::to_string(cx) + " " + std::to_string(cy) + (border ? " (border)" : ""));
        lines.push_back("Height " + std::to_string(GridHeight(cx, gridSizeY - cy - 1)));
    } else {
        lines.push_back("Point: off the grid");
    }
    lines.push_back(GridHasUnsavedChanges() ? "Unsaved changes" : "Nothing unsaved");
    return lines;
}

// Clips to a margin; the scissor's rows count from the bottom.
static void ClipTo(const PixelRect& r)
{
    glScissor(r.x, (int)windowHeight - r.y - r.h, r.w, r.h);
}

static void Text(int x, int y, const std::string& text)
{
    glRasterPos2i(x, y);
    for (char c : text)
        glutBitmapCharacter(OVERLAY_FONT, c);
}

static void ScaleColour(int height)
{
    Colour3 c = HeightColour((float)height);
    glColor3f(c.r, c.g, c.b);
}

static void DrawLegend(const OverlayLayout& o)
{
    ClipTo(o.legendArea);
    const PixelRect& s = o.scale;
    bool standing = o.arrangement == OVERLAY_SIDES;
    // The colour rule is linear in the height, so two colours per end give
    // every colour between exactly.
    glBegin(GL_QUADS);
    ScaleColour(0);
    glVertex2i(s.x, s.y + s.h);
    if (standing) {
        glVertex2i(s.x + s.w, s.y + s.h);
        ScaleColour(LEGEND_TOP_HEIGHT);
        glVertex2i(s.x + s.w, s.y);
        glVertex2i(s.x, s.y);
    } else {
        ScaleColour(LEGEND_TOP_HEIGHT);
        glVertex2i(s.x + s.w, s.y + s.h);
        glVertex2i(s.x + s.w, s.y);
        ScaleColour(0);
        glVertex2i(s.x, s.y);
    }
    glEnd();
    glColor3f(0.85f, 0.85f, 0.85f);
    for (int height = 0; height <= LEGEND_TOP_HEIGHT; height += o.labelStep) {
        std::string label = std::to_string(height);
        if (standing) {
            int y = s.y + s.h - (int)((long long)s.h * height / LEGEND_TOP_HEIGHT);
            Text(s.x + s.w + LABEL_GAP, y + FONT_HALF_CAP, label);
        } else {
            int x = s.x + (int)((long long)s.w * height / LEGEND_TOP_HEIGHT);
            Text(x - (int)label.size() * 3, s.y - LABEL_GAP, label);
        }
    }
    if (standing)
        Text(s.x, s.y - LINE_HEIGHT + FONT_HALF_CAP, "Height");
}

static void DrawStatus(const OverlayLayout& o)
{
    ClipTo(o.statusArea);
    std::vector<std::string> lines = StatusLines();
    bool unsaved = GridHasUnsavedChanges();
    if (o.arrangement == OVERLAY_SIDES) {
        for (size_t i = 0; i < lines.size(); i++) {
            bool mark = i + 1 == lines.size();
            if (mark && unsaved)
                glColor3f(1.0f, 0.85f, 0.2f);
            else
                glColor3f(0.85f, 0.85f, 0.85f);
            // The unsaved mark stands apart from the lines above it.
            int gap = mark ? LINE_HEIGHT / 2 : 0;
            Text(o.statusX, o.statusY + (int)i * o.lineHeight + gap, lines[i]);
        }
        // The notice below, a line apart, in a colour of its own.
        glColor3f(0.45f, 0.9f, 1.0f);
        int columns = (o.statusArea.w - 2 * o.statusX) / NOTICE_CHAR_WIDTH;
        std::vector<std::string> notice = WrapText(statusNotice, columns > 1 ? (size_t)columns : 1);
        int top = o.statusY + (int)(lines.size() + 1) * o.lineHeight + LINE_HEIGHT / 2;
        for (size_t i = 0; i < notice.size(); i++)
            Text(o.statusX, top + (int)i * o.lineHeight, notice[i]);
        return;
    }
    std::string joined;
    for (size_t i = 0; i < lines.size(); i++)
        joined += (i ? "   " : "") + lines[i];
    glColor3f(unsaved ? 1.0f : 0.85f, 0.85f, unsaved ? 0.2f : 0.85f);
    Text(o.statusX, o.statusY, joined);
    if (!statusNotice.empty()) {
        glColor3f(0.45f, 0.9f, 1.0f);
        Text(o.statusX, o.statusY + o.lineHeight, statusNotice);
    }
}

void DrawEditorOverlay()
{
    OverlayLayout o = LayOutOverlay(windowWidth, windowHeight);
    if (o.arrangement == OVERLAY_NONE)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_SCISSOR_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_SCISSOR_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Window pixels, origin top left, as the layout counts them.
    glOrtho(0.0, windowWidth, windowHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    DrawLegend(o);
    DrawStatus(o);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

} // namespace editor
