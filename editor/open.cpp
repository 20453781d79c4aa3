// Reading a landscape file into the editor's grid, with a reason for every
// file it refuses.
#include "editor/open.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

#include "common/landscape_reader.h"
#include "common/regular_file.h"
#include "editor/console.h"
#include "editor/grid.h"
#include "editor/history.h"
#include "editor/save.h"
#include "editor/settings.h"

namespace editor {

const int HEADER_FIELDS = 5;

// A token of sign and digits only is read exactly; the scanner's single
// precision would change integers above 2^24 that the editor itself wrote.
static bool PlainInteger(const std::string& token, long long& value)
{
    size_t i = (token[0] == '-' || token[0] == '+') ? 1 : 0;
    if (i == token.size())
        return false;
    const long long CEILING = (long long)INT_MAX + 1; // saturates, still out of range
    long long magnitude = 0;
    for (; i < token.size(); i++) {
        if (token[i] < '0' || token[i] > '9')
            return false;
        magnitude = std::min(CEILING, magnitude * 10 + (token[i] - '0'));
    }
    value = token[0] == '-' ? -magnitude : magnitude;
    return true;
}

// The height the editor holds for a number read from the file.
static int EditorHeight(const std::string& token, float scanned, bool& changed)
{
    long long exact;
    if (PlainInteger(token, exact)) {
        long long held = std::max(0LL, std::min((long long)INT_MAX, exact));
        changed = held != exact;
        return (int)held;
    }
    double value = scanned;
    int held;
    if (!std::isfinite(value) || value <= 0.0)
        held = 0;
    else if (value >= (double)INT_MAX)
        held = INT_MAX;
    else
        held = (int)value; // toward zero, as the contour answer "12.5" gives 12
    changed = (double)held != value;
    return held;
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool DecodeEditorLandscape(const char* data, size_t size, const char* name, std::vector<int>& heights,
                           int& changed, std::string& reason)
{
    size_t pos = 0;
    bool atEnd = false;
    float header[HEADER_FIELDS] = {0, 0, 0, 0, 0};
    if (!ScanLandscapeNumber(data, size, pos, atEnd, header[0])) {
        reason = std::string(name) + ": does not begin with a grid size; not a landscape file";
        return false;
    }
    for (int i = 1; i < HEADER_FIELDS; i++)
        ScanLandscapeNumber(data, size, pos, atEnd, header[i]);
    // The size as the simulator takes it: the first number truncated.
    float first = header[0];
    char text[64];
    if (!std::isfinite(first)) {
        snprintf(text, sizeof text, "%f", first);
        reason = std::string(name) + ": grid size " + text + " is not a number of points; not a landscape file";
        return false;
    }
    double side = first < 1.0f ? 0.0 : std::trunc((double)first);
    if (side != GRID_SIZE) {
        snprintf(text, sizeof text, "%.0f x %.0f", side, side);
        reason = std::string(name) + ": a " + text + " grid; the editor edits " + std::to_string(GRID_SIZE) + " x " +
                 std::to_string(GRID_SIZE) + " grids (pelorin-landscape import resamples one)";
        return false;
    }
    std::vector<int> read(GRID_CELLS);
    int differing = 0;
    for (int i = 0; i < GRID_CELLS; i++) {
        size_t start = pos;
        float value = 0.0f;
        if (!ScanLandscapeNumber(data, size, pos, atEnd, value)) {
            reason = std::string(name) + ": height " + std::to_string(i + 1) + " of " + std::to_string(GRID_CELLS) +
                     " is missing or not a number";
            return false;
        }
        while (IsBlank(data[start]))
            start++;
        bool differs;
        read[i] = EditorHeight(std::string(data + start, pos - start), value, differs);
        differing += differs;
    }
    heights.swap(read);
    changed = differing;
    return true;
}

bool ReadEditorLandscape(const char* path, std::vector<int>& heights, int& changed, std::string& reason)
{
    struct stat info;
    if (stat(path, &info) != 0) {
        reason = std::string(path) + ": " + strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        reason = std::string(path) + ": is a folder, not a landscape file";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = std::string(path) + ": not a regular file (a named pipe or a device); not opened";
        return false;
    }
    FILE* in = OpenRegularFile(path, "r");
    if (!in) {
        reason = std::string(path) + ": " + strerror(errno);
        return false;
    }
    std::string text;
    char chunk[65536];
    size_t got;
    bool tooLarge = false;
    while ((got = fread(chunk, 1, sizeof chunk, in)) > 0) {
        if (text.size() + got > LANDSCAPE_MAX_FILE_BYTES) {
            tooLarge = true;
            break;
        }
        text.append(chunk, got);
    }
    int readErrno = ferror(in) ? errno : 0;
    fclose(in);
    if (tooLarge) {
        reason = std::string(path) + ": larger than " + std::to_string(LANDSCAPE_MAX_FILE_BYTES) +
                 " bytes; not a landscape file";
        return false;
    }
    if (readErrno != 0) {
        reason = std::string(path) + ": " + strerror(readErrno);
        return false;
    }
    return DecodeEditorLandscape(text.data(), text.size(), path, heights, changed, reason);
}

// Reads the file and reports it; on success the grid holds its heights.
static bool LoadFile(const char* path, int& changed)
{
    std::vector<int> heights;
    std::string reason;
    if (!ReadEditorLandscape(path, heights, changed, reason)) {
        printf("Open failed, grid unchanged: %s\n", reason.c_str());
        return false;
    }
    LoadGridHeights(heights.data());
    NoteLandscapeFile(path);
    if (changed == 0)
        printf("Opened %s\n", path);
    else
        printf("Opened %s: %d height%s changed to whole numbers of 0 or more\n", path, changed,
               changed == 1 ? "" : "s");
    return true;
}

// A grid that is what its file holds has nothing unsaved; one whose heights
// had to change does, until it is saved.
static void MarkOpened(int changed)
{
    if (changed == 0)
        MarkGridSaved();
}

bool OpenLandscape(const char* path)
{
    // Whatever was under way before the open is an edit of its own.
    RecordEdit();
    int changed = 0;
    if (!LoadFile(path, changed))
        return false;
    RecordEdit();
    MarkOpened(changed);
    return true;
}

bool OpenAtStart(const char* path)
{
    int changed = 0;
    if (!LoadFile(path, changed))
        return false;
    StartHistory();
    MarkOpened(changed);
    return true;
}

void OpenFlow(FILE* console)
{
    static const char PROMPT[] = "Reading from what filename? ";
    fputs(PROMPT, stdout);
    fflush(stdout);
    ShowConsoleWait("Type the file name in the terminal", PROMPT);
    char name[FILE_NAME_CAPACITY];
    ConsoleAnswer answer = ReadFileName(console, name);
    EndConsoleWait();
    switch (answer) {
    case ANSWER_OK:
        if (OpenLandscape(name))
            SaveEditorSettingsIfChanged();
        break;
    case ANSWER_END_OF_INPUT:
        printf("\nNo file name given (end of input); nothing opened\n");
        break;
    default:
        printf("File name longer than %d characters refused; nothing opened\n", FILE_NAME_CAPACITY - 1);
        break;
    }
}

} // namespace editor
