// How the world is shown: the view and the display switches the pilot's keys
// set, and the window's size. The shell's input and reshape write them and
// the drawing reads them; they sit below both so that neither reaches up.
#pragma once

#include <string>
#include <vector>

extern int viewMode;                   // 1 cockpit, 2 chase, 3 fixed, 4 tower, 5 overhead, 6 orbit
extern float chaseDistance;            // views 2 and 6, world units behind the aircraft
extern float overheadHeight;           // view 5, world units above the aircraft
extern float fieldOfView;              // vertical, degrees
extern int cullFaces;                  // non-zero: back faces culled for the frame
extern int overlayLightOn;             // light 2 over the overlay part of the frame
extern unsigned char contactOutlineOn; // the contact points drawn under the aircraft
extern int sunHaloOn;                  // the textured square above the sun
extern unsigned char texturesOn;       // load the texture set at set-up, texture the world
extern float windowWidth;              // pixels, rewritten by the reshape
extern float windowHeight;             // pixels, rewritten by the reshape
extern int classicDisplay;             // 1: the cockpit panel or status line alone, as first made
extern int helpOpen;                   // the key list over the frame (F1)
extern int keysHintOn;                 // the small "F1: keys" line of a start's first seconds
extern std::vector<std::string> helpLines; // the key list's lines, a group's name alone on its line
extern int quietConsole;               // --quiet: no loading lines, only errors and what is asked for
extern int playerListOn;               // the list of players in a shared sky (Tab)

const int VIEW_COCKPIT = 1;
const int VIEW_CHASE = 2;
const int VIEW_FIXED = 3;
const int VIEW_TOWER = 4;
const int VIEW_OVERHEAD = 5;
const int VIEW_ORBIT = 6;
const float CHASE_DISTANCE_START = 500.0f; // also where the chase key puts the camera
const float OVERHEAD_HEIGHT_START = 2000.0f; // also where the overhead key puts it

// The start values: cockpit view, chase 500 behind, overhead 2000 above, a
// 40 degree field of view, textures and the sun's halo on, the other switches
// off, a 640 x 480 window, the new display with the keys' hint and no help. The set-up and the tests start from here.
void ResetViewState();
