// The time trial in the game: the course read at the start, its ghost made
// ready, each step's gates turned into the head-up display's notices and the
// finish's console line, and the best times and the best run kept in the
// user's data folder. The landing score's notice and best are kept here too.
#pragma once

#include "sim/shell/options.h"

// Before the window opens and before the game's state is set up: reads the
// course (a fault is one line, and the game flies without it), says so in one
// line when it was made over another landscape, and replays the ghost (the
// --ghost recording, else the best run kept) into its poses. Leaves the
// simulation in its start state with the course active. `played`: the
// recording --play shows, kept as the best run when it sets the best time.
// `startState` puts every global at its start value (ResetSimulation).
void PrepareCourse(const CourseOptions& options, const char* played, void (*startState)());
// Live play over a course: without --record (`recordPath` null) the game is
// recorded into the
// data folder, so that a best run can be kept as the next ghost.
void RecordCourseRun(const char* recordPath);
// After every step: the notices of the gates passed and of a touchdown, the
// finish's line, and the best times.
void WatchCourse();
// The instant replay runs the flight again: the attempt is set aside and put
// back, and nothing it passes counts.
void SetCourseAside();
void PutCourseBack();
// At the game's end: a best run set in this game is kept as the next ghost.
void KeepBestRun();
// No course, no best times read: the start state.
void ResetCoursePlayState();
