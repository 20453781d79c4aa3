// The best-times file: the best time of each course over each landscape and
// the best landing score, each with the date it was set. A small text file in
// the user's data folder, written carefully and read as carefully as every
// other file here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

const char BEST_TIMES_MAGIC[] = "pelorin-best 1";
const size_t BEST_TIMES_MAX_BYTES = 256 * 1024;
const size_t BEST_TIMES_MAX_ENTRIES = 2000;

// kind "course": value is the time in 10 ms steps; kind "landing": the score.
// `key` tells courses (and landscapes) apart.
struct BestEntry {
    std::string kind;
    uint64_t key;
    int64_t value;
    std::string date; // YYYY-MM-DD
};

struct BestTimes {
    std::vector<BestEntry> entries;
};

// Parses the file's text; false with "line N: reason" when it is damaged.
bool ParseBestTimes(const std::string& text, BestTimes& best, std::string& error);
std::string FormatBestTimes(const BestTimes& best);
// The entry of that kind and key, or null.
const BestEntry* FindBest(const BestTimes& best, const char* kind, uint64_t key);
// Keeps `value` as the entry's value and date, adding the entry if new.
void SetBest(BestTimes& best, const char* kind, uint64_t key, int64_t value, const std::string& date);
// Writes the file through a temporary file and a rename; false with a reason.
bool SaveBestTimes(const char* path, const BestTimes& best, std::string& error);

// The program's data folder: $XDG_DATA_HOME/pelorin when that is an absolute
// path, else $HOME/.local/share/pelorin when HOME is; empty when neither is.
std::string PelorinDataFolder(const char* xdgDataHome, const char* home);
// Makes `folder` and any missing parents; false with a reason.
bool MakeFolders(const std::string& folder, std::string& error);
