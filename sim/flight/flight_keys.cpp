// The flight keys and the arrows, as the step applies them.
#include "sim/flight/flight_keys.h"

#include <cstdio>
#include <cstring>

#include "sim/flight/aircraft.h"
#include "sim/flight/game_state.h"
#include "sim/flight/ground_contact.h"

static const float THRUST_STEP_COARSE = 10.0f;
static const float ARROW_TURN = 1.0f; // degrees per press

bool FlightKey(unsigned char key)
{
    return key != '\0' && strchr("+=-_][\\gMpRYyNnQP", key) != nullptr;
}

void ApplyFlightKey(unsigned char key, StepOutcome& outcome)
{
    switch (key) {
    case '+':
    case '=':
        if (plane.thrust < THRUST_MAX)
            plane.thrust += 1.0f;
        break;
    case '-':
    case '_':
        if (plane.thrust > 0.0f)
            plane.thrust -= 1.0f;
        break;
    case ']':
        plane.thrust += THRUST_STEP_COARSE;
        if (plane.thrust > THRUST_MAX)
            plane.thrust = THRUST_MAX;
        break;
    case '[':
        plane.thrust -= THRUST_STEP_COARSE;
        if (plane.thrust < 0.0f)
            plane.thrust = 0.0f;
        break;
    case '\\':
        plane.thrust = 0.0f;
        break;
    case 'g':
        if (gearDown) {
            gearDown = 0;
            gearHeight = GEAR_UP_HEIGHT;
            printf("Raising landing gear\n");
        } else {
            gearDown = 1;
            gearHeight = GEAR_DOWN_HEIGHT;
            printf("Lowering landing gear\n");
        }
        outcome.gearMoves++;
        break;
    case 'M':
        flightModel = flightModel == 1 ? 0 : 1;
        break;
    case 'p':
        // The restart question keeps the game paused until it is answered.
        if (paused && !restartPrompt)
            paused = 0;
        else
            paused = 1;
        break;
    case 'R':
        restartPrompt = 1;
        paused = 1;
        break;
    case 'Y':
    case 'y':
        if (restartPrompt) {
            RestartGame();
            outcome.restarts++;
        }
        break;
    case 'N':
    case 'n':
        if (restartPrompt)
            outcome.quit = true;
        break;
    case 'Q':
        outcome.quit = true;
        break;
    case 'P':
        printf("Plane: ");
        PrintBody(plane);
        break;
    default:
        break;
    }
}

void ApplyArrow(int arrow)
{
    switch (arrow) {
    case ARROW_LEFT:
        RotateBody(plane, -ARROW_TURN, plane.dir);
        break;
    case ARROW_UP:
        RotateBody(plane, -ARROW_TURN, plane.normal);
        break;
    case ARROW_RIGHT:
        RotateBody(plane, ARROW_TURN, plane.dir);
        break;
    case ARROW_DOWN:
        RotateBody(plane, ARROW_TURN, plane.normal);
        break;
    default:
        break;
    }
}
