// The save flow: the typed name and the grid handed to the landscape writer.
#include "editor/save.h"

#include <algorithm>
#include <string>

#include "common/landscape_writer.h"
#include "editor/console.h"
#include "editor/grid.h"
#include "editor/overlay.h"
#include "editor/settings.h"

namespace editor {

std::vector<int> savedHeights;

void ResetSaveState()
{
    savedHeights.clear();
}

void MarkGridSaved()
{
    savedHeights.assign(gridHeights, gridHeights + gridSizeX * gridSizeY);
}

bool GridHasUnsavedChanges()
{
    const int* begin = gridHeights;
    const int* end = gridHeights + gridSizeX * gridSizeY;
    if (savedHeights.empty())
        return std::any_of(begin, end, [](int h) { return h != 0; });
    return !std::equal(begin, end, savedHeights.begin(), savedHeights.end());
}

bool SaveLandscape(const char* fileName)
{
    std::string error;
    bool touched = false;
    if (!SaveLandscapeFile(fileName, gridSizeX, gridSizeY, gridHeights, error, &touched)) {
        if (touched)
            printf("Save failed part way, the file may be incomplete: %s\n", error.c_str());
        else
            printf("Save failed, nothing written: %s\n", error.c_str());
        return false;
    }
    MarkGridSaved();
    SetStatusNotice(std::string("Saved ") + fileName);
    NoteLandscapeFile(fileName);
    SaveEditorSettingsIfChanged();
    return true;
}

void SaveFlow(FILE* console)
{
    static const char PROMPT[] = "Writing to what filename? ";
    fputs(PROMPT, stdout);
    fflush(stdout);
    ShowConsoleWait("Type the file name in the terminal", PROMPT);
    char name[FILE_NAME_CAPACITY];
    ConsoleAnswer answer = ReadFileName(console, name);
    EndConsoleWait();
    switch (answer) {
    case ANSWER_OK:
        SaveLandscape(name);
        break;
    case ANSWER_END_OF_INPUT:
        printf("\nNo file name given (end of input); nothing saved\n");
        break;
    default:
        printf("File name longer than %d characters refused; nothing saved\n", FILE_NAME_CAPACITY - 1);
        break;
    }
}

} // namespace editor
