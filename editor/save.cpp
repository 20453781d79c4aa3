// The save flow: the typed name and the grid handed to the landscape writer.
#include "editor/save.h"

#include <string>

#include "common/landscape_writer.h"
#include "editor/console.h"
#include "editor/grid.h"

namespace editor {

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
    return true;
}

void SaveFlow(FILE* console)
{
    printf("Writing to what filename? ");
    fflush(stdout);
    char name[FILE_NAME_CAPACITY];
    switch (ReadFileName(console, name)) {
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
