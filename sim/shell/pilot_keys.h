// The pilot's key table: what each character key does. The flight keys
// (FlightKey, sim/flight/flight_keys.h) go into the next step's input record;
// every other key only changes what is shown and acts at once, here. State
// and console lines only: no GL, no toolkit, never an exit, so the table is
// exercised without a window.
#pragma once

extern int fogMode;     // 0 off, 1 exponential, 2 exponential squared, 3 linear
extern int spotLightOn; // light 3 and local-viewer lighting

// What a key leaves for its callback to do beyond the state it changed.
enum KeyEffect {
    KEY_DONE,         // nothing more than the redisplay
    KEY_FOG_DENSITY,  // hand fogDensity to GL (and a second redisplay)
    KEY_FOG_MODE,     // apply fogMode to GL
    KEY_TEXTURES,     // apply texturesOn to GL
    KEY_SPOT_LIGHT,   // apply spotLightOn to GL
};

// One display key (case-sensitive): views, field of view, fog, the day
// clock, textures, lights, the cell board, the outlines and the halo. Flight
// keys and unknown keys do nothing here.
KeyEffect PilotKey(unsigned char key);
// Fog off, spot light off: the start state.
void ResetPilotKeysState();
