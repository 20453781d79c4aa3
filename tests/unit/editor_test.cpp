// The editor's grid, tools, pointer mapping and console answers, without a
// window: every case drives the same functions the GLUT callbacks call.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/height_colour.h"
#include "common/home_folder.h"
#include "common/program_beside.h"
#include "editor/console.h"
#include "editor/fly.h"
#include "editor/grid.h"
#include "editor/history.h"
#include "editor/open.h"
#include "editor/overlay.h"
#include "editor/recovery.h"
#include "editor/save.h"
#include "editor/tools.h"
#include "editor/view.h"

using namespace editor;

namespace {

// Console input for one test, as the program's standard input would be.
struct Console {
    FILE* file;
    explicit Console(const std::string& text)
    {
        file = tmpfile();
        fputs(text.c_str(), file);
        rewind(file);
    }
    ~Console() { fclose(file); }
};

void StartCapture()
{
    fflush(stdout);
    testing::internal::CaptureStdout();
}

std::string EndCapture()
{
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

void FreshGrid()
{
    ASSERT_TRUE(CreateGrid(GRID_SIZE, GRID_SIZE));
    windowWidth = 640;
    windowHeight = 480;
    StartHistory();
    savedHeights.clear();
}

std::vector<int> Heights()
{
    return std::vector<int>(gridHeights, gridHeights + GRID_CELLS);
}

// Every point drawn in the colour its height gives.
bool ColoursFollowHeights()
{
    for (int i = 0; i < GRID_CELLS; i++) {
        Colour3 c = HeightColour((float)gridHeights[i]);
        if (gridRed[i] != c.r || gridGreen[i] != c.g || gridBlue[i] != c.b)
            return false;
    }
    return true;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TempDir()
{
    char dir[] = "/tmp/pelorin-editor.XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    return dir;
}

} // namespace

TEST(EditorGrid, StartsFlatGroundColouredWithTheLatticeOff)
{
    showGridPoints = 1;
    FreshGrid();
    EXPECT_EQ(gridSizeX, 41);
    EXPECT_EQ(gridSizeY, 41);
    EXPECT_EQ(showGridPoints, 0);
    for (int i = 0; i < GRID_SIZE * GRID_SIZE; i++) {
        ASSERT_EQ(gridHeights[i], 0);
        ASSERT_EQ(gridRed[i], GROUND_COLOUR.r);
        ASSERT_EQ(gridGreen[i], GROUND_COLOUR.g);
        ASSERT_EQ(gridBlue[i], GROUND_COLOUR.b);
    }
}

TEST(EditorGrid, RefusesSizesThatCannotBeAllocated)
{
    FreshGrid();
    int* kept = gridHeights;
    EXPECT_FALSE(CreateGrid(0, 41));
    EXPECT_FALSE(CreateGrid(41, -1));
    EXPECT_FALSE(CreateGrid(100000, 100000));
    EXPECT_EQ(gridHeights, kept);
    EXPECT_EQ(gridSizeX, 41);
}

TEST(EditorGrid, SetHeightClampsRecoloursAndReports)
{
    struct Case {
        int height, stored;
        float r, g, b;
        const char* printed;
    } cases[] = {
        {4000, 4000, 0.475f, 0.33f, 0.13f, "New Height: 4000\n"},
        {8000, 8000, 0.65f, 0.16f, 0.16f, "New Height: 8000\n"},
        {16000, 16000, 1.0f, -0.18f, 0.22f, "New Height: 16000\n"},
        {-300, 0, 0.3f, 0.5f, 0.1f, ""},
        {0, 0, 0.3f, 0.5f, 0.1f, ""},
    };
    FreshGrid();
    for (const Case& c : cases) {
        SetGridHeight(7, 30, 12345); // a previous colour that must not survive
        StartCapture();
        SetGridHeight(7, 30, c.height);
        EXPECT_EQ(EndCapture(), c.printed) << c.height;
        int i = 7 * GRID_SIZE + 30;
        EXPECT_EQ(gridHeights[i], c.stored);
        EXPECT_NEAR(gridRed[i], c.r, 1e-6) << c.height;
        EXPECT_NEAR(gridGreen[i], c.g, 1e-6) << c.height;
        EXPECT_NEAR(gridBlue[i], c.b, 1e-6) << c.height;
    }
}

// Each case selects a function, sets the point (20, 20) and optionally one
// neighbour, and clicks once on the middle of a 640 x 480 window.
TEST(EditorTools, EachFunctionOnOneClick)
{
    struct Case {
        const char* what;
        int function, start, neighbour, contour;
        int expected;
        const char* printed; // after the cell line
    } cases[] = {
        {"increase", EDIT_INCREASE, 250, 0, 0, 350, "New Height: 350\n"},
        {"decrease below 0", EDIT_DECREASE, 50, 0, 0, 0, ""},
        {"decrease", EDIT_DECREASE, 250, 0, 0, 150, "New Height: 150\n"},
        {"contour negative", EDIT_CONTOUR, 500, 0, -300, 0, ""},
        {"contour above high", EDIT_CONTOUR, 0, 0, 9000, 9000, "New Height: 9000\n"},
        {"high", EDIT_HIGH, 10, 0, 0, 8000, "New Height: 8000\n"},
        {"ground", EDIT_GROUND, 4000, 0, 0, 0, ""},
        {"random, first of the run", EDIT_RANDOM, 0, 0, 0, 41, "New Height: 41\n"},
        {"smooth, flat neighbours", EDIT_SMOOTH, 5000, 0, 0, 0, ""},
        {"smooth, one neighbour high", EDIT_SMOOTH, 0, 8000, 0, 1000, "New Height: 1000\n"},
        {"smooth truncates", EDIT_SMOOTH, 0, 7, 0, 0, ""},
        {"none", EDIT_NONE, 300, 0, 0, 300, ""},
        {"unknown code", 42, 300, 0, 0, 300, ""},
    };
    for (const Case& c : cases) {
        FreshGrid();
        gridHeights[20 * GRID_SIZE + 20] = c.start;
        gridHeights[21 * GRID_SIZE + 19] = c.neighbour;
        SetEditFunction(c.function);
        SetContourElevation(c.contour);
        StartCapture();
        EditorClick(320, 240);
        EXPECT_EQ(EndCapture(), std::string("20 20\n") + c.printed) << c.what;
        EXPECT_EQ(GridHeight(20, 20), c.expected) << c.what;
        EXPECT_EQ(GridHeight(21, 19), c.neighbour) << c.what;
    }
}

TEST(EditorTools, IncreaseHasNoUpperLimitAndCountsEveryPress)
{
    FreshGrid();
    SetEditFunction(EDIT_INCREASE);
    StartCapture();
    for (int i = 0; i < 81; i++)
        EditorClick(320, 240);
    std::string out = EndCapture();
    EXPECT_EQ(GridHeight(20, 20), 8100);
    EXPECT_NE(out.find("New Height: 8100\n"), std::string::npos);
}

TEST(EditorTools, WindowRowsCountDownwardsGridRowsUpwards)
{
    FreshGrid();
    SetEditFunction(EDIT_HIGH);
    ApplyEditFunction(3, 5);
    EXPECT_EQ(GridHeight(3, 35), 8000);
    EXPECT_EQ(GridHeight(3, 5), 0);
}

TEST(EditorMouse, ClicksAtTheStartSizeKeepTheirCellLinesAndBorderRules)
{
    struct Case {
        int x, y;
        const char* printed;
    } cases[] = {
        {320, 240, "20 20\nNew Height: 8000\n"},
        {0, 0, "-13 -5\nERROR: Outside of the border\n"},
        {130, 240, "0 20\nERROR: Borders can't be edited\n"},
        {639, 479, "53 44\nERROR: Outside of the border\n"},
        {320, 55, "20 0\nERROR: Borders can't be edited\n"},
        {320, 45, "20 -1\nERROR: Outside of the border\n"},
    };
    for (const Case& c : cases) {
        FreshGrid();
        SetEditFunction(EDIT_HIGH);
        StartCapture();
        EditorClick(c.x, c.y);
        EXPECT_EQ(EndCapture(), c.printed) << c.x << "," << c.y;
    }
    // Nothing selected: the cell line only.
    FreshGrid();
    SetEditFunction(EDIT_NONE);
    StartCapture();
    EditorClick(320, 240);
    EXPECT_EQ(EndCapture(), "20 20\n");
    // Every pixel against the cell rule written out.
    int differences = 0;
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
            float width = 640, height = 480;
            int cx = (int)(x / (width * 0.014925373134328358)) - 13;
            int cy = (int)(y / (height * 0.02)) - 5;
            GridCell cell = WindowToGridCell(x, y, width, height);
            differences += cell.gridX != cx || cell.rowFromTop != cy;
        }
    }
    EXPECT_EQ(differences, 0);
}

// The pixel under which the frame draws world grid position (gx, gy): the
// inverse of the orthographic box, written out by hand from the GL rules.
static void DrawnPixel(double gx, double gy, float w, float h, int& px, int& py)
{
    ViewBox b = EditorViewBox(w, h);
    double wx = gx - 20.0, wy = gy - 20.0;
    px = (int)((wx - b.left) / (b.right - b.left) * w);
    py = (int)((b.top - wy) / (b.top - b.bottom) * h);
}

TEST(EditorMouse, EveryGridPointIsEditedFromUnderItsDrawingAtAnySize)
{
    FreshGrid();
    const float sizes[][2] = {{640, 480}, {480, 640}, {1280, 300}, {300, 1280}, {41, 41}, {1000, 1000}, {123, 457}};
    for (auto size : sizes) {
        float w = size[0], h = size[1];
        for (int gx = 0; gx < GRID_SIZE; gx++) {
            for (int gy = 0; gy < GRID_SIZE; gy++) {
                // The cell rule's rows begin at the drawn points, so a point
                // is hit half a row below where it is drawn, at every size
                // as at the start size.
                int px, py;
                DrawnPixel(gx, gy - 0.5, w, h, px, py);
                GridCell cell = WindowToGridCell(px, py, w, h);
                // At very small windows neighbouring points share a pixel;
                // then the mapping may pick either.
                int slack = (w < 100 || h < 100) ? 1 : 0;
                ASSERT_LE(abs(cell.gridX - gx), slack) << w << "x" << h << " point " << gx << "," << gy;
                ASSERT_LE(abs(cell.rowFromTop - (40 - gy)), slack) << w << "x" << h << " point " << gx << "," << gy;
            }
        }
        // The centre of an even-sized window is the start window's centre.
        if ((int)w % 2 == 0 && (int)h % 2 == 0) {
            GridCell centre = WindowToGridCell((int)w / 2, (int)h / 2, w, h);
            EXPECT_EQ(centre.gridX, 20) << w << "x" << h;
            EXPECT_EQ(centre.rowFromTop, 20) << w << "x" << h;
        }
    }
}

TEST(EditorMouse, ShapeChangesMoveTheBordersWithTheDrawing)
{
    // Clicks just below and right of a drawn point hit it; a little further
    // out they meet the border or leave the grid, as at the start size.
    struct Case {
        float w, h;
        int x, y;
        const char* printed;
        int gx, gy; // the point raised, if any
    } cases[] = {
        {800, 400, 480, 200, "30 20\nNew Height: 8000\n", 30, 20},
        {800, 400, 241, 200, "0 20\nERROR: Borders can't be edited\n", -1, -1},
        {800, 400, 236, 200, "-1 20\nERROR: Outside of the border\n", -1, -1},
        {800, 400, 480, 44, "30 0\nERROR: Borders can't be edited\n", -1, -1},
        {800, 400, 480, 39, "30 -1\nERROR: Outside of the border\n", -1, -1},
        {480, 800, 144, 308, "10 10\nNew Height: 8000\n", 10, 30},
        {480, 800, 422, 586, "39 39\nNew Height: 8000\n", 39, 1},
        {480, 800, 240, 204, "20 -1\nERROR: Outside of the border\n", -1, -1},
        {480, 640, 0, 320, "-5 20\nERROR: Outside of the border\n", -1, -1},
        {480, 640, 48, 320, "0 20\nERROR: Borders can't be edited\n", -1, -1},
    };
    for (const Case& c : cases) {
        FreshGrid();
        SetEditFunction(EDIT_HIGH);
        windowWidth = c.w;
        windowHeight = c.h;
        StartCapture();
        EditorClick(c.x, c.y);
        EXPECT_EQ(EndCapture(), c.printed) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        if (c.gx >= 0) {
            EXPECT_EQ(GridHeight(c.gx, c.gy), 8000) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        }
    }
    // A pointer far outside the window must not overflow the mapping.
    windowWidth = 1;
    windowHeight = 1;
    StartCapture();
    EditorClick(2000000000, -2000000000);
    std::string out = EndCapture();
    EXPECT_NE(out.find("ERROR: Outside of the border\n"), std::string::npos) << out;
}

TEST(EditorKeys, TheTableInOrderWithItsExactTexts)
{
    struct Case {
        unsigned char key;
        int function;
        const char* printed;
    } cases[] = {
        {'i', EDIT_INCREASE, "Setting function to increase by 100\n"},
        {'m', EDIT_DECREASE, "Setting function to decrease by 100\n"},
        {'h', EDIT_HIGH, "Setting function to high\n"},
        {'r', EDIT_RANDOM, "Setting function to random\n"},
        {'s', EDIT_SMOOTH, ""},
        {'g', EDIT_GROUND, "Turning Grids On!\nSetting function to ground\n"},
        {'g', EDIT_GROUND, "Turning Grids Off!\nSetting function to ground\n"},
        {'G', EDIT_GROUND, ""},
        {'I', EDIT_GROUND, ""},
        {'W', EDIT_GROUND, ""},
        {'x', EDIT_GROUND, ""},
        {'c', EDIT_CONTOUR, "Setting function to countour\nEnter Elevation:  "},
    };
    FreshGrid();
    Console console("  -300\n");
    for (const Case& c : cases) {
        StartCapture();
        EditorKey(c.key, console.file);
        EXPECT_EQ(EndCapture(), c.printed) << c.key;
        EXPECT_EQ(editFunction, c.function) << c.key;
    }
    EXPECT_EQ(showGridPoints, 0);
    EXPECT_EQ(contourElevation, -300);
}

TEST(EditorKeys, ContourAnswersThatDoNotBeginWithANumberKeepTheElevation)
{
    FreshGrid();
    Console console("250\nabc 77\n12abc\n99999999999\n  \n\n -40 9\n");
    struct Step {
        int elevation;
        const char* printed;
    } steps[] = {
        {250, ""},
        {250, "Not a whole number; elevation stays 250\n"},
        {12, ""},
        {12, "Not a whole number; elevation stays 12\n"},
        {-40, ""}, // blank lines are skipped as "%d" skips them; the 9 is dropped with its line
        {-40, "\nNo elevation given (end of input); elevation stays -40\n"},
        {-40, "\nNo elevation given (end of input); elevation stays -40\n"},
    };
    for (const Step& s : steps) {
        StartCapture();
        EditorKey('c', console.file);
        EXPECT_EQ(EndCapture(), std::string("Setting function to countour\nEnter Elevation:  ") + s.printed);
        EXPECT_EQ(contourElevation, s.elevation);
    }
    EXPECT_EQ(editFunction, EDIT_CONTOUR);
}

TEST(EditorConsole, ElevationsAreReadAsPercentDReadsThemWithinIntRange)
{
    struct Case {
        const char* text;
        ConsoleAnswer answer;
        int value;
        const char* rest; // what the next prompt meets
    } cases[] = {
        {"42", ANSWER_OK, 42, ""},
        {"\n\t +5\nnext", ANSWER_OK, 5, "next"},
        {"12abc def\nnext", ANSWER_OK, 12, "next"},
        {"12.5", ANSWER_OK, 12, ""},
        {"0x10", ANSWER_OK, 0, ""},
        {"-300\n", ANSWER_OK, -300, ""},
        {"2147483647", ANSWER_OK, 2147483647, ""},
        {"-2147483648", ANSWER_OK, -2147483647 - 1, ""},
        {"2147483648", ANSWER_NOT_INTEGER, 7, ""},
        {"-2147483649\nnext", ANSWER_NOT_INTEGER, 7, "next"},
        {"123456789012345678901234567890", ANSWER_NOT_INTEGER, 7, ""},
        {"- 5\nnext", ANSWER_NOT_INTEGER, 7, "next"},
        {"x5", ANSWER_NOT_INTEGER, 7, ""},
        {"", ANSWER_END_OF_INPUT, 7, ""},
        {"   \n ", ANSWER_END_OF_INPUT, 7, ""},
    };
    for (const Case& c : cases) {
        Console console(c.text);
        int value = 7;
        EXPECT_EQ(ReadElevation(console.file, value), c.answer) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        std::string rest;
        for (int ch; (ch = fgetc(console.file)) != EOF;)
            rest += (char)ch;
        EXPECT_EQ(rest, c.rest) << c.text;
    }
}

TEST(EditorConsole, FileNamesAreOneWordOfAtMost127Characters)
{
    std::string longest(127, 'a');
    std::string tooLong(128, 'b');
    std::string huge(5000, 'c');
    Console console("  first second\n" + longest + "\n" + tooLong + " next\n" + huge + "\nlast");
    struct Step {
        ConsoleAnswer answer;
        std::string name;
    } steps[] = {
        {ANSWER_OK, "first"},  {ANSWER_OK, "second"}, {ANSWER_OK, longest},         {ANSWER_TOO_LONG, ""},
        {ANSWER_OK, "next"},   {ANSWER_TOO_LONG, ""}, {ANSWER_OK, "last"},          {ANSWER_END_OF_INPUT, ""},
    };
    for (const Step& s : steps) {
        char name[FILE_NAME_CAPACITY];
        memset(name, 'Z', sizeof name);
        name[0] = '\0';
        ConsoleAnswer answer = ReadFileName(console.file, name);
        EXPECT_EQ(answer, s.answer);
        if (answer == ANSWER_OK) {
            EXPECT_EQ(std::string(name), s.name);
        }
    }
}

TEST(EditorSave, TheUntouchedGridAnd8000AtTheCentreByteForByte)
{
    FreshGrid();
    std::string dir = TempDir();
    std::string flat = dir + "/flat.dmf", raised = dir + "/raised.dmf";
    ASSERT_TRUE(SaveLandscape(flat.c_str()));
    std::string zeros;
    for (int i = 0; i < GRID_SIZE; i++)
        zeros += "0 ";
    zeros += "\n";
    std::string expected = "41 41 50.000000 0.000000 0.000000\n";
    for (int i = 0; i < GRID_SIZE; i++)
        expected += zeros;
    EXPECT_EQ(ReadAll(flat), expected);

    SetGridHeight(20, 20, 8000);
    ASSERT_TRUE(SaveLandscape(raised.c_str()));
    std::istringstream in(ReadAll(raised));
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        if (lines == 21) {
            std::istringstream numbers(line);
            int value = -1;
            for (int i = 0; i < 21; i++)
                numbers >> value;
            EXPECT_EQ(value, 8000);
        }
        lines++;
    }
    EXPECT_EQ(lines, 42);
}

TEST(EditorSave, TheFlowSavesUnderTheTypedWordAndKeepsTheRestForTheNextPrompt)
{
    FreshGrid();
    std::string dir = TempDir();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    Console console("one two\n");
    StartCapture();
    EditorKey('w', console.file);
    EditorKey('w', console.file);
    EXPECT_EQ(EndCapture(), "Writing to what filename? Writing to what filename? ");
    EXPECT_EQ(ReadAll(dir + "/one").size(), ReadAll(dir + "/two").size());
    EXPECT_FALSE(ReadAll(dir + "/one").empty());
}

TEST(EditorSave, FailedAndRefusedSavesSayWhyAndKeepTheGrid)
{
    FreshGrid();
    SetGridHeight(5, 5, 700);
    std::string dir = TempDir();
    std::string missing = dir + "/no/such/dir/land.dmf";
    std::string tooLong = dir + "/" + std::string(200, 'x');
    Console console(missing + "\n" + tooLong + "\n");
    struct Step {
        std::string printed;
    } steps[] = {
        {"Save failed, nothing written: " + missing + ": cannot create a file there: No such file or directory\n"},
        {"File name longer than 127 characters refused; nothing saved\n"},
        {"\nNo file name given (end of input); nothing saved\n"},
        {"\nNo file name given (end of input); nothing saved\n"},
    };
    for (const Step& s : steps) {
        StartCapture();
        EditorKey('w', console.file);
        EXPECT_EQ(EndCapture(), "Writing to what filename? " + s.printed);
    }
    EXPECT_EQ(GridHeight(5, 5), 700);
    EXPECT_EQ(access(tooLong.substr(0, dir.size() + 1 + 127).c_str(), F_OK), -1);
}

// A drag of each function over a varied grid, taken back and brought again:
// exact heights, colours that follow them, one console line each.
TEST(EditorHistory, UndoAndRedoRestoreEveryFunctionsDragExactly)
{
    const int functions[] = {EDIT_INCREASE, EDIT_DECREASE, EDIT_CONTOUR, EDIT_HIGH,
                             EDIT_GROUND,   EDIT_RANDOM,   EDIT_SMOOTH};
    Console console("");
    for (int function : functions) {
        FreshGrid();
        std::vector<int> start(GRID_CELLS, 0);
        for (int x = 1; x < GRID_SIZE - 1; x++)
            for (int y = 1; y < GRID_SIZE - 1; y++)
                start[x * GRID_SIZE + y] = (x * 37 + y * 11) % 40 * 100;
        LoadGridHeights(start.data());
        StartHistory();
        SetEditFunction(function);
        SetContourElevation(2500);
        StartCapture();
        for (int x = 300; x <= 340; x += 10) // one drag: no edit closed between
            EditorClick(x, 240);
        std::vector<int> painted = Heights();
        EditorKey(KEY_CTRL_Z, console.file);
        std::vector<int> undone = Heights();
        bool undoneColours = ColoursFollowHeights();
        EditorKey(KEY_CTRL_Y, console.file);
        std::vector<int> redone = Heights();
        EditorKey(KEY_CTRL_Y, console.file);
        EditorKey(KEY_CTRL_Z, console.file);
        std::string out = EndCapture();
        EXPECT_EQ(undone, start) << function;
        EXPECT_TRUE(undoneColours) << function;
        EXPECT_NE(painted, start) << function;
        EXPECT_EQ(redone, painted) << function;
        EXPECT_NE(out.find("\nUndo\nRedo\nNothing to redo\nUndo\n"), std::string::npos) << out;
        EXPECT_TRUE(ColoursFollowHeights());
        // Redo gave back the drawn heights; a new drag draws new ones.
        if (function == EDIT_RANDOM) {
            StartCapture();
            for (int x = 300; x <= 340; x += 10)
                EditorClick(x, 240);
            EndCapture();
            EXPECT_NE(Heights(), redone);
        }
    }
}

TEST(EditorHistory, TwoHundredLevelsTheOldestDroppedAndANewEditEndsRedo)
{
    static_assert(UNDO_LEVELS >= 200, "at least 200 levels");
    FreshGrid();
    Console console("");
    StartCapture();
    EditorKey(KEY_CTRL_Z, console.file);
    EditorKey(KEY_CTRL_Y, console.file);
    EXPECT_EQ(EndCapture(), "Nothing to undo\nNothing to redo\n");
    SetEditFunction(EDIT_INCREASE);
    StartCapture();
    for (int i = 0; i < UNDO_LEVELS + 1; i++) {
        EditorClick(320, 240);
        ASSERT_TRUE(RecordEdit());
    }
    EditorClick(0, 0); // outside: nothing to keep
    EXPECT_FALSE(RecordEdit());
    EndCapture();
    for (int i = 0; i < UNDO_LEVELS; i++)
        ASSERT_TRUE(UndoEdit()) << i;
    EXPECT_FALSE(UndoEdit());
    EXPECT_EQ(GridHeight(20, 20), 100); // the first edit is out of reach
    ASSERT_TRUE(RedoEdit());
    StartCapture();
    EditorClick(320, 240);
    EndCapture();
    EXPECT_FALSE(RedoEdit());
    EXPECT_EQ(GridHeight(20, 20), 300);
}

TEST(EditorOpen, AFileOpensAsOneEditAndSavesBackByteForByte)
{
    FreshGrid();
    SetEditFunction(EDIT_HIGH);
    StartCapture();
    EditorClick(320, 240);
    EndCapture();
    std::vector<int> painted = Heights();
    std::string delivered = std::string(PELORIN_SOURCE_DIR) + "/data/landscape.dmf";
    std::string dir = TempDir();
    std::string copy = dir + "/copy.dmf";
    Console console(delivered + "\n" + copy + "\n");
    StartCapture();
    EditorKey(KEY_CTRL_O, console.file);
    EXPECT_EQ(EndCapture(), "Reading from what filename? Opened " + delivered + "\n");
    EXPECT_FALSE(GridHasUnsavedChanges());
    EXPECT_TRUE(ColoursFollowHeights());
    std::vector<int> opened = Heights();
    StartCapture();
    EditorKey('w', console.file);
    EXPECT_EQ(EndCapture(), "Writing to what filename? ");
    EXPECT_EQ(ReadAll(copy), ReadAll(delivered));
    EXPECT_TRUE(UndoEdit());
    EXPECT_EQ(Heights(), painted);
    EXPECT_TRUE(GridHasUnsavedChanges());
    EXPECT_TRUE(RedoEdit());
    EXPECT_EQ(Heights(), opened);
    EXPECT_FALSE(GridHasUnsavedChanges());
}

TEST(EditorOpen, HeightsTheEditorCannotHoldComeInAsItStoresThem)
{
    std::string text = "41 41 50.000000 0.000000 0.000000\n12.75 -300 2147483647 99999999999 1e3 -0 2.0 ";
    for (int i = 7; i < GRID_CELLS; i++)
        text += "5 ";
    std::vector<int> heights;
    int changed = -1;
    std::string reason;
    ASSERT_TRUE(DecodeEditorLandscape(text.data(), text.size(), "x.dmf", heights, changed, reason)) << reason;
    EXPECT_EQ(changed, 3);
    const int expected[] = {12, 0, 2147483647, 2147483647, 1000, 0, 2, 5};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(heights[i], expected[i]) << i;
    // The line that tells, when the file is opened.
    std::string dir = TempDir();
    std::string path = dir + "/reals.dmf";
    std::ofstream(path) << text;
    FreshGrid();
    StartCapture();
    EXPECT_TRUE(OpenLandscape(path.c_str()));
    EXPECT_EQ(EndCapture(), "Opened " + path + ": 3 heights changed to whole numbers of 0 or more\n");
    EXPECT_EQ(GridHeight(0, 2), 2147483647); // file line 0, position 2
    EXPECT_TRUE(GridHasUnsavedChanges());
}

TEST(EditorOpen, RefusedFilesLeaveTheGridAndSayWhy)
{
    std::string dir = TempDir();
    std::string data = PELORIN_TEST_DATA "/landscape/";
    std::string pipe = dir + "/pipe.dmf", folder = dir + "/folder.dmf", png = dir + "/image.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    std::ofstream(png) << "\x89PNG\r\n";
    struct Case {
        std::string path, reason;
    } cases[] = {
        {data + "size_2050.dmf",
         "a 2050 x 2050 grid; the editor edits 41 x 41 grids (pelorin-landscape import resamples one)"},
        {data + "binary.dmf", "a 3 x 3 grid; the editor edits 41 x 41 grids (pelorin-landscape import resamples one)"},
        {data + "size_nan.dmf", "grid size nan is not a number of points; not a landscape file"},
        {data + "short.dmf", "height 4 of 1681 is missing or not a number"},
        {data + "empty.dmf", "does not begin with a grid size; not a landscape file"},
        {png, "does not begin with a grid size; not a landscape file"},
        {pipe, "not a regular file (a named pipe or a device); not opened"},
        {folder, "is a folder, not a landscape file"},
        {dir + "/missing.dmf", "No such file or directory"},
    };
    FreshGrid();
    SetGridHeight(5, 5, 700);
    RecordEdit();
    std::vector<int> kept = Heights();
    std::string answers;
    for (const Case& c : cases)
        answers += c.path + "\n";
    Console console(answers);
    for (const Case& c : cases) {
        StartCapture();
        EditorKey(KEY_CTRL_O, console.file);
        EXPECT_EQ(EndCapture(), "Reading from what filename? Open failed, grid unchanged: " + c.path + ": " + c.reason + "\n");
        EXPECT_EQ(Heights(), kept);
    }
    StartCapture();
    EditorKey(KEY_CTRL_O, console.file);
    EXPECT_EQ(EndCapture(), "Reading from what filename? \nNo file name given (end of input); nothing opened\n");
    // The edit before stays the one undo takes back.
    EXPECT_TRUE(UndoEdit());
    EXPECT_EQ(GridHeight(5, 5), 0);
}

TEST(EditorRecovery, EachCloseHasItsOwnFileInTheUsersStateFolder)
{
    struct Case {
        const char *stateHome, *home, *folder;
    } cases[] = {
        {"/s", "/h", "/s/pelorin"},
        {nullptr, "/h", "/h/.local/state/pelorin"},
        {"", "/h", "/h/.local/state/pelorin"},
        {"relative", "/h", "/h/.local/state/pelorin"},
        {"/s", "", "/s/pelorin"},
        {nullptr, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecoveryFolder(c.stateHome, c.home), c.folder) << (c.stateHome ? c.stateHome : "(unset)");
    struct tm when = {};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 7;
    EXPECT_EQ(RecoveryName(when, 1), "editor-recovery-20261208-090507.dmf");
    EXPECT_EQ(RecoveryName(when, 3), "editor-recovery-20261208-090507-3.dmf");

    // One home-folder rule: HOME when absolute, else the password database.
    const char* saved = getenv("HOME");
    std::string before = saved ? saved : "";
    setenv("HOME", "/home/pilot", 1);
    EXPECT_EQ(HomeFolder(), "/home/pilot");
    setenv("HOME", "relative/home", 1);
    EXPECT_NE(HomeFolder(), "relative/home") << "a relative HOME is no home folder";
    if (saved)
        setenv("HOME", before.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(EditorFly, TheSimulatorBesideTheEditorFirstThenOnThePath)
{
    std::string root = TempDir();
    auto Program = [](const std::string& path, mode_t mode) {
        std::ofstream(path) << "#!/bin/sh\n";
        chmod(path.c_str(), mode);
    };
    for (const char* dir : {"/beside", "/first", "/second", "/plain", "/folder", "/folder/pelorin"})
        mkdir((root + dir).c_str(), 0755);
    Program(root + "/beside/pelorin", 0755);
    Program(root + "/plain/pelorin", 0644);
    Program(root + "/second/pelorin", 0755);
    std::string path = root + "/plain:" + root + "/folder:" + root + "/first:" + root + "/second";
    EXPECT_EQ(FindProgram(root + "/beside", SIMULATOR_NAME, path.c_str()), root + "/beside/pelorin");
    EXPECT_EQ(FindProgram(root + "/first", SIMULATOR_NAME, path.c_str()), root + "/second/pelorin");
    EXPECT_EQ(FindProgram(root + "/first", SIMULATOR_NAME, nullptr), "");
    ASSERT_EQ(chdir((root + "/beside").c_str()), 0);
    EXPECT_EQ(FindProgram("", SIMULATOR_NAME, ":/nonexistent"), "./pelorin"); // an empty entry is the working directory
}

TEST(EditorOverlay, LegendAndStatusStayInTheMarginsBesideTheGrid)
{
    struct Case {
        float w, h;
        int arrangement;
        int labelStep;
    } cases[] = {
        {640, 480, OVERLAY_SIDES, 1000},
        {600, 120, OVERLAY_SIDES, 2000}, // labels 1000 apart would touch
        {480, 640, OVERLAY_ABOVE_BELOW, 1000},
        {300, 400, OVERLAY_ABOVE_BELOW, 2000},
        {300, 300, OVERLAY_NONE, 0},
    };
    auto Overlaps = [](PixelRect a, PixelRect b) {
        return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
    };
    for (const Case& c : cases) {
        OverlayLayout o = LayOutOverlay(c.w, c.h);
        EXPECT_EQ(o.arrangement, c.arrangement) << c.w << "x" << c.h;
        if (o.arrangement == OVERLAY_NONE)
            continue;
        EXPECT_EQ(o.labelStep, c.labelStep) << c.w << "x" << c.h;
        EXPECT_FALSE(Overlaps(o.legendArea, o.grid)) << c.w << "x" << c.h;
        EXPECT_FALSE(Overlaps(o.statusArea, o.grid)) << c.w << "x" << c.h;
        EXPECT_FALSE(Overlaps(o.scale, o.grid)) << c.w << "x" << c.h;
    }
}

TEST(EditorOverlay, TheStatusTellsWhatAClickDoesWhereAndWhatIsUnsaved)
{
    FreshGrid();
    gridHeights[20 * GRID_SIZE + 20] = 4321;
    MarkGridSaved();
    struct Case {
        int function;
        PointerState at;
        int height; // set at (20, 20) first
        std::vector<std::string> lines;
    } cases[] = {
        {EDIT_NONE, {false, 320, 240}, 4321, {"Click: no function", "Point: off the grid", "Nothing unsaved"}},
        {EDIT_GROUND, {true, 320, 240}, 4321, {"Click: ground", "Point 20 20", "Height 4321", "Nothing unsaved"}},
        {EDIT_CONTOUR, {true, 130, 240}, 0, {"Click: contour -40", "Point 0 20 (border)", "Height 0", "Unsaved changes"}},
        {EDIT_SMOOTH, {true, 5, 5}, 0, {"Click: smooth", "Point: off the grid", "Unsaved changes"}},
    };
    SetContourElevation(-40);
    for (const Case& c : cases) {
        SetEditFunction(c.function);
        pointer = c.at;
        StartCapture();
        SetGridHeight(20, 20, c.height);
        EndCapture();
        EXPECT_EQ(StatusLines(), c.lines) << c.function;
    }
}
