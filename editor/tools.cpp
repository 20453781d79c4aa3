// Editing functions, their keys and the pointer's edits.
#include "editor/tools.h"

#include <climits>

#include "common/random.h"
#include "editor/console.h"
#include "editor/grid.h"
#include "editor/history.h"
#include "editor/open.h"
#include "editor/overlay.h"
#include "editor/save.h"
#include "editor/view.h"

namespace editor {

int editFunction;
int contourElevation;

void ResetToolsState()
{
    editFunction = EDIT_NONE;
    contourElevation = 0;
}

void SetEditFunction(int function)
{
    editFunction = function;
}

void SetContourElevation(int elevation)
{
    contourElevation = elevation;
}

// Sum of the eight neighbours, divided in integer arithmetic; 64-bit so that
// eight large heights cannot overflow.
static int SmoothedHeight(int x, int y)
{
    long long sum = 0;
    for (int dx = -1; dx <= 1; dx++)
        for (int dy = -1; dy <= 1; dy++)
            if (dx != 0 || dy != 0)
                sum += GridHeight(x + dx, y + dy);
    return (int)(sum / 8);
}

// Adds without wrapping past the largest int; heights have no upper limit
// of their own.
static int AddHeight(int height, int step)
{
    long long sum = (long long)height + step;
    return sum > INT_MAX ? INT_MAX : (int)sum;
}

void ApplyEditFunction(int cx, int cy)
{
    int x = cx;
    int y = gridSizeY - cy - 1;
    switch (editFunction) {
    case EDIT_INCREASE:
        SetGridHeight(x, y, AddHeight(GridHeight(x, y), EDIT_STEP));
        break;
    case EDIT_DECREASE:
        SetGridHeight(x, y, GridHeight(x, y) - EDIT_STEP);
        break;
    case EDIT_CONTOUR:
        SetGridHeight(x, y, contourElevation);
        break;
    case EDIT_HIGH:
        SetGridHeight(x, y, HIGH_HEIGHT);
        break;
    case EDIT_GROUND:
        SetGridHeight(x, y, 0);
        break;
    case EDIT_RANDOM:
        SetGridHeight(x, y, NextRandom() % RANDOM_HEIGHT_SPAN);
        break;
    case EDIT_SMOOTH:
        SetGridHeight(x, y, SmoothedHeight(x, y));
        break;
    default:
        break;
    }
}

void EditorClick(int x, int y)
{
    // "Saved NAME" is old news once the grid is clicked again.
    SetStatusNotice("");
    GridCell cell = WindowToGridCell(x, y, windowWidth, windowHeight);
    int cx = cell.gridX;
    int cy = cell.rowFromTop;
    printf("%d %d\n", cx, cy);
    if (cx < 0 || cx >= gridSizeX || cy < 0 || cy >= gridSizeY) {
        printf("ERROR: Outside of the border\n");
        return;
    }
    if (cx == 0 || cx == gridSizeX - 1 || cy == 0 || cy == gridSizeY - 1) {
        printf("ERROR: Borders can't be edited\n");
        return;
    }
    ApplyEditFunction(cx, cy);
}

// Prompts for the contour elevation; an answer that is missing, does not
// begin with an integer or lies outside int range leaves the previous
// elevation in force.
static void AskElevation(FILE* console)
{
    static const char PROMPT[] = "Enter Elevation:  ";
    fputs(PROMPT, stdout);
    fflush(stdout);
    ShowConsoleWait("Type the elevation in the terminal", PROMPT);
    int value = contourElevation;
    ConsoleAnswer answer = ReadElevation(console, value);
    EndConsoleWait();
    switch (answer) {
    case ANSWER_OK:
        SetContourElevation(value);
        break;
    case ANSWER_END_OF_INPUT:
        printf("\nNo elevation given (end of input); elevation stays %d\n", contourElevation);
        break;
    default:
        printf("Not a whole number; elevation stays %d\n", contourElevation);
        break;
    }
}

void EditorKey(unsigned char key, FILE* console)
{
    // The order is the keyboard table's: "g" matches two rows.
    if (key == 'g') {
        if (showGridPoints) {
            showGridPoints = 0;
            printf("Turning Grids Off!\n");
        } else {
            showGridPoints = 1;
            printf("Turning Grids On!\n");
        }
    }
    if (key == 'w')
        SaveFlow(console);
    if (key == 'i') {
        SetEditFunction(EDIT_INCREASE);
        printf("Setting function to increase by 100\n");
    }
    if (key == 'm') {
        SetEditFunction(EDIT_DECREASE);
        printf("Setting function to decrease by 100\n");
    }
    if (key == 'g') {
        SetEditFunction(EDIT_GROUND);
        printf("Setting function to ground\n");
    }
    if (key == 'h') {
        SetEditFunction(EDIT_HIGH);
        printf("Setting function to high\n");
    }
    if (key == 'r') {
        SetEditFunction(EDIT_RANDOM);
        printf("Setting function to random\n");
    }
    if (key == 'c') {
        SetEditFunction(EDIT_CONTOUR);
        printf("Setting function to countour\n");
        AskElevation(console);
    }
    if (key == 's')
        SetEditFunction(EDIT_SMOOTH);
    if (key == KEY_CTRL_O)
        OpenFlow(console);
    if (key == KEY_CTRL_Z)
        printf(UndoEdit() ? "Undo\n" : "Nothing to undo\n");
    if (key == KEY_CTRL_Y)
        printf(RedoEdit() ? "Redo\n" : "Nothing to redo\n");
}

} // namespace editor
