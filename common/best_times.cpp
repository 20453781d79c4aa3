// Reading and writing the best-times file, and where it lives.
#include "common/best_times.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "common/careful_save.h"

namespace {

bool LineFault(std::string& error, size_t line, const char* reason)
{
    error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

bool ValidDate(const std::string& d)
{
    if (d.size() != 10 || d[4] != '-' || d[7] != '-')
        return false;
    for (size_t i = 0; i < d.size(); i++)
        if (i != 4 && i != 7 && (d[i] < '0' || d[i] > '9'))
            return false;
    return true;
}

bool WriteBest(FILE* out, const void* data)
{
    std::string text = FormatBestTimes(*(const BestTimes*)data);
    return fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

bool ParseBestTimes(const std::string& text, BestTimes& best, std::string& error)
{
    best = BestTimes();
    if (text.size() > BEST_TIMES_MAX_BYTES) {
        error = "larger than any best-times file";
        return false;
    }
    size_t lineNumber = 0, start = 0;
    bool seenMagic = false;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return LineFault(error, lineNumber + 1, "cut short (no line end)");
        std::string line = text.substr(start, end - start);
        start = end + 1;
        lineNumber++;
        if (!seenMagic) {
            if (line != BEST_TIMES_MAGIC)
                return LineFault(error, lineNumber, "not a best-times file");
            seenMagic = true;
            continue;
        }
        if (line.size() > 80)
            return LineFault(error, lineNumber, "too long");
        char kind[16], date[16];
        uint64_t key;
        long long value;
        char extra;
        if (sscanf(line.c_str(), "%15s %16" SCNx64 " %lld %15s %c", kind, &key, &value, date, &extra) != 4)
            return LineFault(error, lineNumber, "not an entry (kind, key, value, date)");
        std::string k = kind;
        bool kindKnown = (k == "course" && value > 0 && value < ((long long)1 << 40)) ||
                         (k == "landing" && value >= 0 && value <= 100);
        if (!kindKnown || !ValidDate(date))
            return LineFault(error, lineNumber, "an entry out of its range");
        if (FindBest(best, kind, key))
            return LineFault(error, lineNumber, "a second entry for the same key");
        if (best.entries.size() == BEST_TIMES_MAX_ENTRIES)
            return LineFault(error, lineNumber, "too many entries");
        best.entries.push_back({k, key, (int64_t)value, date});
    }
    if (!seenMagic) {
        error = "empty";
        return false;
    }
    return true;
}

std::string FormatBestTimes(const BestTimes& best)
{
    std::string text = std::string(BEST_TIMES_MAGIC) + "\n";
    char line[96];
    for (const BestEntry& e : best.entries) {
        snprintf(line, sizeof line, "%s %016" PRIx64 " %lld %s\n", e.kind.c_str(), e.key, (long long)e.value,
                 e.date.c_str());
        text += line;
    }
    return text;
}

const BestEntry* FindBest(const BestTimes& best, const char* kind, uint64_t key)
{
    for (const BestEntry& e : best.entries)
        if (e.key == key && e.kind == kind)
            return &e;
    return nullptr;
}

void SetBest(BestTimes& best, const char* kind, uint64_t key, int64_t value, const std::string& date)
{
    for (BestEntry& e : best.entries)
        if (e.key == key && e.kind == kind) {
            e.value = value;
            e.date = date;
            return;
        }
    best.entries.push_back({kind, key, value, date});
}

bool SaveBestTimes(const char* path, const BestTimes& best, std::string& error)
{
    SaveContent content = {WriteBest, &best, "the best times"};
    return SaveFileCarefully(path, content, error);
}

std::string PelorinDataFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/pelorin";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/pelorin";
    return "";
}

bool MakeFolders(const std::string& folder, std::string& error)
{
    for (size_t at = 1; at <= folder.size(); at++) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = part + ": " + strerror(errno);
            return false;
        }
    }
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = folder + ": not a folder";
        return false;
    }
    return true;
}
