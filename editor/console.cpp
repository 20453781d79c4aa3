// Bounded reading of the editor's console answers.
#include "editor/console.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace editor {

// Skips white space; returns the first other character, or EOF.
static int SkipSpace(FILE* in)
{
    int ch;
    do
        ch = fgetc(in);
    while (ch != EOF && isspace(ch));
    return ch;
}

ConsoleAnswer ReadFileName(FILE* in, char (&name)[FILE_NAME_CAPACITY])
{
    int ch = SkipSpace(in);
    if (ch == EOF) {
        // A terminal's end of input may be followed by more typing later.
        clearerr(in);
        return ANSWER_END_OF_INPUT;
    }
    int length = 0;
    bool tooLong = false;
    while (ch != EOF && !isspace(ch)) {
        if (length < FILE_NAME_CAPACITY - 1)
            name[length++] = (char)ch;
        else
            tooLong = true;
        ch = fgetc(in);
    }
    if (ch != EOF)
        ungetc(ch, in);
    name[length] = '\0';
    if (tooLong) {
        name[0] = '\0';
        return ANSWER_TOO_LONG;
    }
    return ANSWER_OK;
}

static void DiscardLine(FILE* in)
{
    int ch;
    do
        ch = fgetc(in);
    while (ch != EOF && ch != '\n');
}

ConsoleAnswer ReadElevation(FILE* in, int& value)
{
    int ch = SkipSpace(in);
    if (ch == EOF) {
        clearerr(in);
        return ANSWER_END_OF_INPUT;
    }
    // Any int has at most 11 characters with its sign; a longer word cannot
    // be one, so the buffer only needs to tell that apart.
    const int TOKEN_CAPACITY = 24;
    char token[TOKEN_CAPACITY];
    int length = 0;
    bool overflow = false;
    while (ch != EOF && !isspace(ch)) {
        if (length < TOKEN_CAPACITY - 1)
            token[length++] = (char)ch;
        else
            overflow = true;
        ch = fgetc(in);
    }
    token[length] = '\0';
    bool ok = !overflow;
    long parsed = 0;
    if (ok) {
        char* end = nullptr;
        errno = 0;
        parsed = strtol(token, &end, 10);
        ok = end != token && *end == '\0' && errno == 0 && parsed >= INT_MIN && parsed <= INT_MAX;
    }
    if (!ok) {
        if (ch != EOF && ch != '\n')
            DiscardLine(in);
        return ANSWER_NOT_INTEGER;
    }
    if (ch != EOF)
        ungetc(ch, in);
    value = (int)parsed;
    return ANSWER_OK;
}

} // namespace editor
