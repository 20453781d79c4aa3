// The instruments display: instruments, backed texts, key list and hint.
#include "sim/render/hud_overlay.h"

#include <GL/glut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"
#include "sim/landscape/terrain.h"
#include "sim/render/hud_text.h"
#include "sim/view/view_state.h"

const int INSTRUMENT_SIZE = 18;
const int QUESTION_SIZE = 24;
const int HELP_SIZE = 18;
const int HINT_SIZE = 15;
const float INSTRUMENT_DROP = 56.0f; // from the top edge to the baseline, at the start size
const float INSTRUMENT_GAP = 24.0f;  // between two fields
const float HINT_DROP = 24.0f;
const float EDGE_GAP = 10.0f;
// The backing reaches this share of the font's size above the baseline and
// below it, and beside the text.
const float BACKING_ABOVE = 0.9f, BACKING_BELOW = 0.35f, BACKING_SIDE = 0.3f;
const float BACKING_ALPHA = 0.6f;
static const float AMBER[3] = {1.0f, 0.7f, 0.1f};

// Rounded to the tenth shown, without the minus of a negative zero.
static float Tenths(float v)
{
    float r = std::round(v * 10.0f) / 10.0f;
    return r == 0.0f ? 0.0f : r;
}

void FormatInstrumentFields(const InstrumentReadings& r, InstrumentField out[INSTRUMENT_FIELD_COUNT])
{
    // Whole degrees of heading, 360 shown as 000; nothing past the field for
    // any float.
    long heading = std::isfinite(r.heading) ? std::lround(r.heading) % 360 : 0;
    snprintf(out[0].text, sizeof out[0].text, "Pitch %+.1f", Tenths(r.pitch));
    out[0].warn = r.pitchWarn;
    snprintf(out[1].text, sizeof out[1].text, "Bank %+.1f", Tenths(r.bank));
    out[1].warn = r.bankWarn;
    snprintf(out[2].text, sizeof out[2].text, "Sink %.1f", Tenths(r.sink));
    out[2].warn = r.sinkWarn;
    snprintf(out[3].text, sizeof out[3].text, "Heading %03ld", heading);
    out[3].warn = false;
    snprintf(out[4].text, sizeof out[4].text, "Gear %s", r.gearDown ? "down" : "up");
    out[4].warn = false;
}

HudLayout CurrentHudLayout()
{
    return classicDisplay ? LayOutHud(windowWidth, windowHeight) : LayOutHudToFit(windowWidth, windowHeight);
}

void DrawBacking(float x0, float y0, float x1, float y1)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, BACKING_ALPHA);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
    glPopAttrib();
}

// The backing of one line of text at (x, y) `width` wide in a font of
// `pixels` pixels.
static void BackText(float x, float y, float width, float pixels)
{
    float side = BACKING_SIDE * pixels;
    DrawBacking(x - side, y - BACKING_BELOW * pixels, x + width + side, y + BACKING_ABOVE * pixels);
}

void DrawHudLabel(const char* text, float x, float y, int size, float scale)
{
    if (!classicDisplay) {
        float colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        BackText(x, y, HudTextWidth(text, size, scale), size * scale);
        glColor4fv(colour);
    }
    DrawHudText(text, x, y, size, scale);
}

void DrawInstruments()
{
    HudLayout l = CurrentHudLayout();
    float s = l.textScale;
    float ground = TerrainHeight(plane.pos.x, plane.pos.y, plane.pos.z);
    InstrumentField fields[INSTRUMENT_FIELD_COUNT];
    FormatInstrumentFields(ReadInstruments(plane, gearDown, plane.pos.y - ground), fields);
    float widths[INSTRUMENT_FIELD_COUNT], total = 0.0f, gap = INSTRUMENT_GAP * s;
    for (int i = 0; i < INSTRUMENT_FIELD_COUNT; i++) {
        widths[i] = HudTextWidth(fields[i].text, INSTRUMENT_SIZE, s);
        total += widths[i] + (i > 0 ? gap : 0.0f);
    }
    float x = std::floor(windowWidth * 0.5f - total * 0.5f), y = windowHeight - INSTRUMENT_DROP * s;
    BackText(x, y, total, INSTRUMENT_SIZE * s);
    for (int i = 0; i < INSTRUMENT_FIELD_COUNT; i++) {
        if (fields[i].warn)
            glColor3fv(AMBER);
        else
            glColor3f(1.0f, 1.0f, 1.0f);
        DrawHudText(fields[i].text, x, y, INSTRUMENT_SIZE, s);
        x += widths[i] + gap;
    }
    glColor3f(1.0f, 1.0f, 1.0f);
}

void DrawBackedPauseTexts(const char* question, const char* cause)
{
    HudLayout l = CurrentHudLayout();
    float s = l.textScale, pixels = QUESTION_SIZE * s;
    float qWidth = HudTextWidth(question, QUESTION_SIZE, s);
    bool hasCause = cause && cause[0] != '\0';
    float cWidth = hasCause ? HudTextWidth(cause, QUESTION_SIZE, s) : 0.0f;
    float widest = std::max(qWidth, cWidth), middle = windowWidth * 0.5f;
    float bottom = hasCause ? l.pauseY - l.crashCauseDrop : l.pauseY;
    float side = BACKING_SIDE * pixels;
    DrawBacking(middle - widest * 0.5f - side, bottom - BACKING_BELOW * pixels, middle + widest * 0.5f + side,
                l.pauseY + BACKING_ABOVE * pixels);
    glColor3f(1.0f, 1.0f, 1.0f);
    DrawHudText(question, std::floor(middle - qWidth * 0.5f), l.pauseY, QUESTION_SIZE, s);
    if (hasCause)
        DrawHudText(cause, std::floor(middle - cWidth * 0.5f), bottom, QUESTION_SIZE, s);
}

// One column of the key list: its lines, the widest key and widest effect.
struct HelpColumn {
    std::vector<const std::string*> lines;
    float keyWidth = 0.0f, effectWidth = 0.0f;
};

static bool IsHeading(const std::string& line)
{
    return line.find('\t') == std::string::npos;
}

static void MeasureColumn(HelpColumn& c, float scale)
{
    c.keyWidth = c.effectWidth = 0.0f;
    for (const std::string* line : c.lines) {
        size_t tab = line->find('\t');
        if (tab == std::string::npos) {
            c.keyWidth = std::max(c.keyWidth, HudTextWidth(line->c_str(), HELP_SIZE, scale));
            continue;
        }
        c.keyWidth = std::max(c.keyWidth, HudTextWidth(line->substr(0, tab).c_str(), HELP_SIZE, scale));
        c.effectWidth = std::max(c.effectWidth, HudTextWidth(line->c_str() + tab + 1, HELP_SIZE, scale));
    }
}

static void DrawColumn(const HelpColumn& c, float x, float top, float lineHeight, float keyGap, float scale)
{
    float y = top;
    for (const std::string* line : c.lines) {
        y -= lineHeight;
        size_t tab = line->find('\t');
        if (tab == std::string::npos) {
            glColor3fv(AMBER);
            DrawHudText(line->c_str(), x, y, HELP_SIZE, scale);
            continue;
        }
        glColor3f(1.0f, 1.0f, 1.0f);
        DrawHudText(line->substr(0, tab).c_str(), x, y, HELP_SIZE, scale);
        DrawHudText(line->c_str() + tab + 1, x + c.keyWidth + keyGap, y, HELP_SIZE, scale);
    }
}

void DrawHelp()
{
    if (!helpOpen)
        return;
    // The display group, the longest, stands on the right; the others left.
    HelpColumn left, right;
    HelpColumn* column = &left;
    for (const std::string& line : helpLines) {
        if (IsHeading(line))
            column = line == "Display" ? &right : &left;
        column->lines.push_back(&line);
    }
    const char* title = "Keys (F1 or Esc closes this list)";
    float s = CurrentHudLayout().textScale;
    // Measured at the display's scale, then shrunk as a whole until it fits.
    MeasureColumn(left, s);
    MeasureColumn(right, s);
    float keyGap = 12.0f * s, columnGap = 28.0f * s, margin = 16.0f * s, lineHeight = 22.0f * s;
    float width = left.keyWidth + left.effectWidth + right.keyWidth + right.effectWidth + 2 * keyGap + columnGap;
    int rows = (int)std::max(left.lines.size(), right.lines.size()) + 2;
    float fit = std::min({1.0f, (windowWidth - 2 * margin - 2 * EDGE_GAP * s) / width,
                          (windowHeight - 2 * margin - 2 * EDGE_GAP * s) / (rows * lineHeight)});
    if (fit < 1.0f) {
        s *= fit;
        MeasureColumn(left, s);
        MeasureColumn(right, s);
        keyGap *= fit, columnGap *= fit, margin *= fit, lineHeight *= fit;
        width = left.keyWidth + left.effectWidth + right.keyWidth + right.effectWidth + 2 * keyGap + columnGap;
    }
    float height = rows * lineHeight;
    float x0 = std::floor(windowWidth * 0.5f - width * 0.5f), top = std::floor(windowHeight * 0.5f + height * 0.5f);
    // Twice: darker than a text's backing, since the whole frame shows through.
    DrawBacking(x0 - margin, top - height - margin, x0 + width + margin, top + margin);
    DrawBacking(x0 - margin, top - height - margin, x0 + width + margin, top + margin);
    glColor3f(1.0f, 1.0f, 1.0f);
    DrawHudText(title, x0, top - lineHeight, HELP_SIZE, s);
    float columnsTop = top - lineHeight * 1.5f;
    DrawColumn(left, x0, columnsTop, lineHeight, keyGap, s);
    DrawColumn(right, x0 + left.keyWidth + left.effectWidth + keyGap + columnGap, columnsTop, lineHeight, keyGap, s);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void DrawKeysHint()
{
    if (!keysHintOn || helpOpen)
        return;
    float s = CurrentHudLayout().textScale;
    const char* hint = "F1: keys";
    float width = HudTextWidth(hint, HINT_SIZE, s);
    glColor3f(1.0f, 1.0f, 1.0f);
    DrawHudLabel(hint, std::floor(windowWidth - width - EDGE_GAP * s), windowHeight - HINT_DROP * s, HINT_SIZE, s);
}
