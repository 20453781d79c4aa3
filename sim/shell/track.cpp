// The --track replay: no window, the flight as rows of numbers.
#include "sim/shell/track.h"

#include <cmath>
#include <fcntl.h>
#include <unistd.h>

#include "sim/assets/display_lists.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"
#include "sim/landscape/terrain.h"
#include "sim/shell/replay.h"
#include "sim/shell/replay_file.h"

void BuildWorldWithoutWindow()
{
    SkipForestDraws();
    LoadTerrainTiles(LANDSCAPE_FILE);
}

void PrintTrackHeader(FILE* out)
{
    fprintf(out, "time,x,y,z,heading,pitch,roll,speed,thrust,gear,on_ground,crashed\n");
}

void PrintTrackRow(FILE* out, double seconds)
{
    // A compass heading on the map pelorin-landscape draws, +x north and +z
    // east (the runway points east, 90); pitch up and roll right positive.
    double heading = std::atan2((double)plane.dir.z, (double)plane.dir.x) * RAD_TO_DEG;
    if (heading < 0.0)
        heading += 360.0;
    double y = plane.dir.y > 1.0f ? 1.0 : (plane.dir.y < -1.0f ? -1.0 : (double)plane.dir.y);
    double pitch = std::asin(y) * RAD_TO_DEG;
    double roll = std::atan2(-(double)plane.normal.y, (double)plane.up.y) * RAD_TO_DEG;
    fprintf(out, "%.2f,%.1f,%.1f,%.1f,%.2f,%.2f,%.2f,%.2f,%.0f,%d,%d,%d\n", seconds, plane.pos.x, plane.pos.y,
            plane.pos.z, heading, pitch, roll, plane.airspeed, plane.thrust, gearDown ? 1 : 0, landed ? 1 : 0,
            lastCrash.cause != CRASH_NONE ? 1 : 0);
}

int RunTrack(const char* path)
{
    Recording recording;
    if (!LoadReplayFile(path, recording))
        return 1;
    // Standard output carries the rows only: the game's own lines (the
    // landscape's echo, the flight's) go nowhere.
    fflush(stdout);
    int rowsFd = dup(STDOUT_FILENO);
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    FILE* rows = rowsFd >= 0 ? fdopen(rowsFd, "w") : nullptr;
    if (!rows || null < 0 || dup2(null, STDOUT_FILENO) < 0) {
        fprintf(stderr, "pelorin: cannot set standard output aside for the track\n");
        return 1;
    }
    close(null);
    BuildWorldWithoutWindow();
    StartReplay(recording.flights, 0);
    PrintTrackHeader(rows);
    PrintTrackRow(rows, 0.0);
    int64_t lastRow = ReplayStepsDone();
    int status = 0;
    for (;;) {
        ReplayStatus result = ReplayStep();
        int64_t done = ReplayStepsDone();
        int64_t intoFlight = done - ReplayFlightFirstStep();
        if (result == REPLAY_STEPPED) {
            if (intoFlight % TRACK_ROW_STEPS == 0) {
                PrintTrackRow(rows, intoFlight / 100.0);
                lastRow = done;
            }
            continue;
        }
        if (result == REPLAY_DIVERGED) {
            fflush(rows);
            ReportDivergence(recording, ReplayDivergedStep());
            status = 1;
            break;
        }
        if (result == REPLAY_NEXT_FLIGHT) {
            // The time starts again at 0 with every flight after a restart.
            PrintTrackRow(rows, 0.0);
            lastRow = done;
            continue;
        }
        break;
    }
    if (status == 0 && lastRow != ReplayStepsDone())
        PrintTrackRow(rows, (ReplayStepsDone() - ReplayFlightFirstStep()) / 100.0);
    if (fclose(rows) != 0 && status == 0) {
        fprintf(stderr, "pelorin: the track could not be written out\n");
        status = 1;
    }
    return status;
}
