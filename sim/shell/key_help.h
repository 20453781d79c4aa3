// The list of keys F1 shows: one table of every key the game answers, in
// groups, with the state of what a key switches; the README's key table
// names the same keys.
#pragma once

#include <string>
#include <vector>

// What a key switches, for the state its help line shows.
enum HelpState {
    SHOWS_NOTHING,
    SHOWS_GEAR,
    SHOWS_FLIGHT_MODEL,
    SHOWS_VIEW,
    SHOWS_FIELD_OF_VIEW,
    SHOWS_DISPLAY,
    SHOWS_FOG_MODE,
    SHOWS_TEXTURES,
    SHOWS_CULLING,
    SHOWS_OVERLAY_LIGHT,
    SHOWS_SPOT_LIGHT,
    SHOWS_CELL_BOARD,
    SHOWS_OUTLINE,
    SHOWS_HALO,
    SHOWS_CLOCK,
    SHOWS_SOUND,
    SHOWS_PAUSE,
};

struct KeyHelp {
    const char* group; // flying, views, display, game, recorder
    const char* keys;  // as the README writes them, blank between keys
    const char* effect;
    HelpState state;
};

extern const KeyHelp KEY_HELP[];
extern const int KEY_HELP_COUNT;

// The help's lines from the current state: each group's name on a line of
// its own, then its keys, "keys\teffect" and where a key switches ": state".
std::vector<std::string> HelpLines();
// Fills helpLines for the frame while the help is open.
void RefreshHelp();
// F1: opens or closes the help; the first press also ends the keys' hint.
void ToggleHelp();
// The help's own keys, offered before any other use of them: Esc closes an
// open list, F1 opens and closes it. Neither is a flight key, so neither is
// recorded. True when the key was taken.
bool HelpTakesKey(unsigned char key);
bool HelpTakesSpecialKey(int key);
