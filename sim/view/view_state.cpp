// The view and display switches and the window's size, with their start values.
#include "sim/view/view_state.h"

int viewMode;
float chaseDistance;
float overheadHeight;
float fieldOfView;
int cullFaces;
int overlayLightOn;
unsigned char contactOutlineOn;
int sunHaloOn;
unsigned char texturesOn;
float windowWidth;
float windowHeight;
int classicDisplay;
int helpOpen;
int keysHintOn;
std::vector<std::string> helpLines;
int quietConsole;
int playerListOn;

void ResetViewState()
{
    viewMode = VIEW_COCKPIT;
    chaseDistance = CHASE_DISTANCE_START;
    overheadHeight = OVERHEAD_HEIGHT_START;
    fieldOfView = 40.0f;
    cullFaces = 0;
    overlayLightOn = 0;
    contactOutlineOn = 0;
    sunHaloOn = 1;
    texturesOn = 1;
    windowWidth = 640.0f;
    windowHeight = 480.0f;
    classicDisplay = 0;
    helpOpen = 0;
    keysHintOn = 1;
    helpLines.clear();
    quietConsole = 0;
    playerListOn = 0;
}
