// The keys' help: the table F1 shows and its lines with the current states.
#include "sim/shell/key_help.h"

#include <GL/glut.h>
#include <cstdio>

#include "sim/flight/aircraft.h"
#include "sim/flight/clock.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/life.h"
#include "sim/shell/pilot_keys.h"
#include "sim/shell/scene.h"
#include "sim/shell/sound_feed.h"
#include "sim/view/view_state.h"

const KeyHelp KEY_HELP[] = {
    {"Flying", "arrows", "roll, nose down / up, 1 degree", SHOWS_NOTHING},
    {"Flying", "+ = - _", "throttle +1 / -1", SHOWS_NOTHING},
    {"Flying", "] [", "throttle +10 / -10", SHOWS_NOTHING},
    {"Flying", "\\", "throttle 0", SHOWS_NOTHING},
    {"Flying", "g", "landing gear", SHOWS_GEAR},
    {"Flying", "M", "flight model", SHOWS_FLIGHT_MODEL},
    {"Views", "1 2 3 4 5", "cockpit, chase, fixed, tower, overhead", SHOWS_NOTHING},
    {"Views", "2 2", "orbit (2 in the chase view)", SHOWS_NOTHING},
    {"Views", "w", "field of view", SHOWS_FIELD_OF_VIEW},
    {"Display", "H", "instruments or classic display", SHOWS_DISPLAY},
    {"Display", "F", "fog mode", SHOWS_FOG_MODE},
    {"Display", "d D", "fog denser / thinner", SHOWS_NOTHING},
    {"Display", "t", "textures", SHOWS_TEXTURES},
    {"Display", "C", "face culling", SHOWS_CULLING},
    {"Display", "c", "overlay light", SHOWS_OVERLAY_LIGHT},
    {"Display", "l", "spot light", SHOWS_SPOT_LIGHT},
    {"Display", "L", "cell board", SHOWS_CELL_BOARD},
    {"Display", "B", "contact outline", SHOWS_OUTLINE},
    {"Display", "z", "sun halo", SHOWS_HALO},
    {"Display", "T", "day clock", SHOWS_CLOCK},
    {"Display", "F9", "sound", SHOWS_SOUND},
    {"Display", "F11", "full screen", SHOWS_NOTHING},
    {"Display", "F12", "save the picture as PNG", SHOWS_NOTHING},
    {"Display", "F1 Esc", "this list on / off", SHOWS_NOTHING},
    {"Game", "p", "pause", SHOWS_PAUSE},
    {"Game", "R", "ask to restart", SHOWS_NOTHING},
    {"Game", "Y y N n", "restart, or quit (when asked)", SHOWS_NOTHING},
    {"Game", "Q", "quit", SHOWS_NOTHING},
    {"Game", "P", "print the aircraft's state line", SHOWS_NOTHING},
    {"Game", "Tab", "in a shared sky: the list of players", SHOWS_NOTHING},
    {"Recorder", "Ctrl+R", "instant replay of the last 30 s", SHOWS_NOTHING},
    {"Recorder", "f s", "in a replay: four times as fast while held; skip to the next change", SHOWS_NOTHING},
};
const int KEY_HELP_COUNT = (int)(sizeof KEY_HELP / sizeof KEY_HELP[0]);

static const char* OnOff(int on)
{
    return on ? "on" : "off";
}

static std::string StateText(HelpState state)
{
    static const char* const VIEWS[7] = {"", "cockpit", "chase", "fixed", "tower", "overhead", "orbit"};
    static const char* const FOGS[4] = {"off", "exp", "exp squared", "linear"};
    char text[120];
    switch (state) {
    case SHOWS_GEAR:
        return gearDown ? "down" : "up";
    case SHOWS_FLIGHT_MODEL:
        return flightModel == 1 ? "force" : "heading";
    case SHOWS_VIEW:
        return viewMode >= 1 && viewMode <= 6 ? VIEWS[viewMode] : "none";
    case SHOWS_FIELD_OF_VIEW:
        snprintf(text, sizeof text, "%.0f degrees", fieldOfView);
        return text;
    case SHOWS_DISPLAY:
        return classicDisplay ? "classic" : "instruments";
    case SHOWS_FOG_MODE:
        return fogMode >= 0 && fogMode <= 3 ? FOGS[fogMode] : "off";
    case SHOWS_TEXTURES:
        return OnOff(texturesOn);
    case SHOWS_CULLING:
        return OnOff(cullFaces);
    case SHOWS_OVERLAY_LIGHT:
        return OnOff(overlayLightOn);
    case SHOWS_SPOT_LIGHT:
        return OnOff(spotLightOn);
    case SHOWS_CELL_BOARD:
        return OnOff(lifeOn);
    case SHOWS_OUTLINE:
        return OnOff(contactOutlineOn);
    case SHOWS_HALO:
        return OnOff(sunHaloOn);
    case SHOWS_CLOCK:
        return timePasses ? "runs" : "stopped";
    case SHOWS_SOUND:
        return OnOff(soundOn);
    case SHOWS_PAUSE:
        return paused ? "paused" : "running";
    case SHOWS_NOTHING:
        break;
    }
    return "";
}

std::vector<std::string> HelpLines()
{
    std::vector<std::string> lines;
    const char* group = "";
    for (int i = 0; i < KEY_HELP_COUNT; i++) {
        const KeyHelp& k = KEY_HELP[i];
        if (std::string(k.group) != group) {
            group = k.group;
            lines.push_back(group);
        }
        std::string line = std::string(k.keys) + "\t" + k.effect;
        std::string state = StateText(k.state);
        if (!state.empty())
            line += ": " + state;
        lines.push_back(line);
    }
    return lines;
}

void RefreshHelp()
{
    if (helpOpen)
        helpLines = HelpLines();
}

void ToggleHelp()
{
    helpOpen = helpOpen ? 0 : 1;
    keysHintOn = 0;
    RefreshHelp();
}

static const unsigned char ESCAPE_KEY = 27;

bool HelpTakesKey(unsigned char key)
{
    if (key != ESCAPE_KEY || !helpOpen)
        return false;
    ToggleHelp();
    return true;
}

bool HelpTakesSpecialKey(int key)
{
    if (key != GLUT_KEY_F1)
        return false;
    ToggleHelp();
    return true;
}
