// The display half of the pilot's key table; the flight half is the step's.
#include "sim/shell/pilot_keys.h"

#include <cstdio>

#include "sim/flight/clock.h"
#include "sim/flight/life.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

int fogMode;
int spotLightOn;

void ResetPilotKeysState()
{
    fogMode = 0;
    spotLightOn = 0;
}

static const double FOG_DENSITY_UP = 1.1;
static const double FOG_DENSITY_DOWN = 0.90909090909090906; // 1/1.1
static const float FIELD_OF_VIEW_NARROW = 40.0f; // degrees
static const float FIELD_OF_VIEW_WIDE = 80.0f;
static const float FIELD_OF_VIEW_SWITCH = 60.0f;

static void ScaleFogDensity(double factor)
{
    fogDensity = (float)(fogDensity * factor);
    printf("fogDensity = %.6f\n", fogDensity);
}

KeyEffect PilotKey(unsigned char key)
{
    switch (key) {
    case '1':
        viewMode = 1;
        break;
    case '2':
        if (viewMode == 2) {
            viewMode = 6;
        } else {
            viewMode = 2;
            chaseDistance = CHASE_DISTANCE_START;
        }
        break;
    case '3':
        viewMode = 3;
        break;
    case '4':
        viewMode = 4;
        break;
    case '5':
        viewMode = 5;
        overheadHeight = OVERHEAD_HEIGHT_START;
        break;
    case 'w':
        fieldOfView = fieldOfView < FIELD_OF_VIEW_SWITCH ? FIELD_OF_VIEW_WIDE : FIELD_OF_VIEW_NARROW;
        break;
    case 'd':
        ScaleFogDensity(FOG_DENSITY_UP);
        return KEY_FOG_DENSITY;
    case 'D':
        ScaleFogDensity(FOG_DENSITY_DOWN);
        return KEY_FOG_DENSITY;
    case 'F':
        fogMode = (fogMode >= 0 && fogMode < 3) ? fogMode + 1 : 0;
        return KEY_FOG_MODE;
    case 'T':
        if (timePasses) {
            timePasses = 0;
            printf("Time has stopped.\n");
        } else {
            timePasses = 1;
            printf("Time passes by.\n");
        }
        break;
    case 't':
        texturesOn = texturesOn ? 0 : 1;
        return KEY_TEXTURES;
    case 'C':
        cullFaces = ~cullFaces;
        break;
    case 'c':
        overlayLightOn = overlayLightOn == 0 ? 1 : 0;
        break;
    case 'l':
        spotLightOn = spotLightOn ? 0 : 1;
        return KEY_SPOT_LIGHT;
    case 'L':
        if (lifeOn) {
            lifeOn = 0;
        } else {
            lifeOn = 1;
            StartLife();
        }
        break;
    case 'B':
        contactOutlineOn = contactOutlineOn == 0 ? 1 : 0;
        break;
    case 'z':
        sunHaloOn = sunHaloOn == 0 ? 1 : 0;
        break;
    case 'H':
        classicDisplay = classicDisplay ? 0 : 1;
        break;
    default:
        break;
    }
    return KEY_DONE;
}
