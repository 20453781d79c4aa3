// The simulation's whole state as bytes: what a recording starts a flight
// from, what its digests are taken over, and what the instant replay puts
// back. Every global the step, ground contact, the explosion or the pilot's
// flight keys read or write is in it; views and display switches are not.
#pragma once

#include <cstdint>
#include <vector>

// Bytes of a packed state: 32 four-byte values.
const uint32_t FLIGHT_STATE_BYTES = 128;

// The state now, little-endian, floats by their bits.
std::vector<uint8_t> CaptureFlightState();
// Whether `state` is one this game packs: its length and a crash cause it knows.
bool FlightStateFits(const std::vector<uint8_t>& state);
// Puts a packed state back; false (and nothing changed) when it does not fit.
bool RestoreFlightState(const std::vector<uint8_t>& state);
// The digest a recording keeps of the state now.
uint64_t FlightStateDigest();
