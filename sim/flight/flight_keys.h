// The keys that act on the flight, and the arrows: what each does to the
// aircraft and the game states. The step applies them from its input record
// (live, or read back from a recording), so they change state and print
// their lines only; no GL, no toolkit, never an exit.
#pragma once

// The arrow keys, by the codes the keyboard's toolkit gives them (and the
// recording keeps).
const int ARROW_LEFT = 100;
const int ARROW_UP = 101;
const int ARROW_RIGHT = 102;
const int ARROW_DOWN = 103;

// What the input of a step did beyond the state it changed: the sound's
// cues (the gear key's moves and the restarts, which a watcher of the state
// could not tell from the gear giving way) and the end of the game.
struct StepOutcome {
    unsigned gearMoves;
    unsigned restarts;
    bool quit; // Q, or N / the pad's no to the restart question
};

// The keys of the pilot's table that go through the step: the throttle, the
// gear, the flight model, pause, the restart question and its answers, quit
// and the state line. Every other key only changes what is shown.
bool FlightKey(unsigned char key);
// One flight key (case-sensitive), with its console line; anything else
// does nothing.
void ApplyFlightKey(unsigned char key, StepOutcome& outcome);
// An arrow turns the plane by one degree; other codes do nothing.
void ApplyArrow(int arrow);
