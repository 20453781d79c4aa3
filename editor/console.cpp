// Bounded reading of the editor's console answers.
#include "editor/console.h"

#include <cctype>
#include <climits>
#include <string>

#include "editor/overlay.h"

namespace editor {

void (*showFrameNow)();

void ShowConsoleWait(const char* what, const char* prompt)
{
    // The prompt's words without the blanks that end them on the console.
    std::string words = prompt;
    while (!words.empty() && words.back() == ' ')
        words.pop_back();
    SetStatusNotice(std::string(what) + ": " + words);
    if (showFrameNow)
        showFrameNow();
}

void EndConsoleWait()
{
    SetStatusNotice("");
}

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
    // As "%d" reads: an optional sign, then the longest run of digits.
    bool negative = ch == '-';
    if (ch == '-' || ch == '+')
        ch = fgetc(in);
    bool anyDigit = false;
    bool overflow = false;
    // The magnitude of INT_MIN is one more than INT_MAX; 64 bits hold both.
    const long long LIMIT = negative ? -(long long)INT_MIN : (long long)INT_MAX;
    long long magnitude = 0;
    while (ch != EOF && isdigit(ch)) {
        anyDigit = true;
        if (!overflow) {
            magnitude = magnitude * 10 + (ch - '0');
            overflow = magnitude > LIMIT;
        }
        ch = fgetc(in);
    }
    // Whatever followed on the line would otherwise answer the next prompt.
    if (ch != EOF && ch != '\n')
        DiscardLine(in);
    if (!anyDigit || overflow)
        return ANSWER_NOT_INTEGER;
    value = (int)(negative ? -magnitude : magnitude);
    return ANSWER_OK;
}

} // namespace editor
