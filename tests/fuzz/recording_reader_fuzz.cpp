// libFuzzer target: any bytes as a flight recording. A recording that decodes
// must encode again to one that decodes to the same flights.
// fuzz-sources: common/flight_recording.cpp common/regular_file.cpp
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/flight_recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Recording recording;
    std::string error;
    if (!DecodeRecording(data, size, recording, error)) {
        if (error.empty())
            abort();
        return 0;
    }
    std::vector<uint8_t> again;
    EncodeRecordingHeader(recording, again);
    for (const RecordedFlight& flight : recording.flights) {
        EncodeFlightChunk(flight, again);
        std::vector<uint8_t> payload;
        int64_t last = flight.firstStep;
        for (const RecordedEvent& e : flight.events) {
            if (e.step < last)
                abort();
            AppendEvent(e, last, payload);
            if (e.type == EVENT_DIGEST) {
                EncodeSecondChunk(payload, (uint32_t)e.digest, again);
                payload.clear();
            }
        }
        if (!payload.empty())
            EncodeEventsChunk(payload, again);
        if (flight.ended)
            EncodeEndChunk(flight.lastStep, flight.finalDigest, flight.restarted, again);
    }
    Recording back;
    if (!DecodeRecording(again.data(), again.size(), back, error) || back.flights.size() != recording.flights.size())
        abort();
    for (size_t i = 0; i < back.flights.size(); i++)
        if (back.flights[i].events.size() != recording.flights[i].events.size() ||
            back.flights[i].state != recording.flights[i].state || back.flights[i].lastStep != recording.flights[i].lastStep)
            abort();
    return 0;
}
