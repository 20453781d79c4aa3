// The editor's console answers: a file name and a contour elevation read from
// a stream (standard input in the program), bounded and checked.
#pragma once

#include <cstdio>

namespace editor {

const int FILE_NAME_CAPACITY = 128; // 127 characters and the terminating zero

// Draws the frame and shows it at once; set by the program's entry, empty
// in tests (which have no window to show).
extern void (*showFrameNow)();

// Before a prompt blocks on the console: the status says `what` the console
// waits for, in the prompt's own words, and the frame is shown first, since
// the window draws nothing more until the answer comes.
void ShowConsoleWait(const char* what, const char* prompt);
// The answer came: the status says nothing more of it.
void EndConsoleWait();

enum ConsoleAnswer {
    ANSWER_OK,
    ANSWER_END_OF_INPUT, // the stream ended before an answer began
    ANSWER_TOO_LONG,     // a name longer than 127 characters; its rest was discarded
    ANSWER_NOT_INTEGER,  // no integer at the start, or one outside int range
};

// One word as "%s" reads it: leading white space is skipped and the word ends
// at the first white space, which stays in the stream, so text after a blank
// is what the next prompt meets. At most 127 characters go into `name`
// (FILE_NAME_CAPACITY bytes); a longer word is consumed whole and refused.
ConsoleAnswer ReadFileName(FILE* in, char (&name)[FILE_NAME_CAPACITY]);

// One integer as "%d" reads it: leading white space skipped, an optional
// sign and the digits that follow, so "12abc", "12.5" and "+12" are 12 and
// "0x10" is 0. Text that does not begin with an integer, or a value outside
// int range, is refused. Either way the rest of the line is thrown away, so
// it cannot answer the next prompt too. `value` changes only on ANSWER_OK.
ConsoleAnswer ReadElevation(FILE* in, int& value);

} // namespace editor
