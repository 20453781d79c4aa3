// The editor's start state, put together from the reset of each file that
// owns global state, so that every start value is written once.
#pragma once

namespace editor {

// Every global of the editor and the shared random generator back to the
// values of a program start; no GL. The entry calls it first, and the tests
// before every case.
void ResetEditor();

} // namespace editor
