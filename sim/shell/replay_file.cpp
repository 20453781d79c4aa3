// Reading a recording for --play, --timedemo, --track and a course's ghost.
#include "sim/shell/replay_file.h"

#include <cstdio>
#include <string>

#include "common/printable_text.h"
#include "sim/shell/flight_state.h"
#include "sim/shell/recorder.h"

bool LoadReplayFile(const char* path, Recording& recording)
{
    std::string error;
    if (!ReadRecording(path, recording, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (recording.damaged)
        fprintf(stderr, "%s: %s\n", path, RecordingEndNote(recording).c_str());
    Recording here = RecordingHeaderNow();
    const char* problem = nullptr;
    if (recording.hasLandscape && !here.hasLandscape)
        problem = "recorded over a landscape file, and there is no landscape.dmf here";
    else if (!recording.hasLandscape && here.hasLandscape)
        problem = "recorded without a landscape file, and there is a landscape.dmf here";
    else if (recording.landscapeDigest != here.landscapeDigest || recording.landscapeBytes != here.landscapeBytes)
        problem = "recorded over another landscape file than the landscape.dmf here";
    for (const RecordedFlight& flight : recording.flights)
        if (!problem && !FlightStateFits(flight.state))
            problem = "holds a flight state this game does not keep";
    if (problem) {
        fprintf(stderr, "%s: %s\n", path, problem);
        return false;
    }
    return true;
}

void ReportDivergence(const Recording& recording, int64_t step)
{
    if (recording.programVersion != ProgramVersion())
        fprintf(stderr, "replay diverged at step %lld (recorded by Pelorin %s, this is Pelorin %s)\n",
                (long long)step, PrintableText(recording.programVersion).c_str(), ProgramVersion());
    else
        fprintf(stderr, "replay diverged at step %lld\n", (long long)step);
}
