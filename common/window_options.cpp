// -geometry made whole for the toolkit, and the programs' own flags.
#include "common/window_options.h"

#include <cctype>
#include <cstring>

// X refuses windows wider or higher than this.
const long GEOMETRY_SIZE_MAX = 32767;

// Reads the digits at `at` into `value`; false when there are none or too many.
static bool ReadNumber(const std::string& text, size_t& at, long& value)
{
    size_t start = at;
    value = 0;
    while (at < text.size() && isdigit((unsigned char)text[at])) {
        if (at - start >= 9)
            return false;
        value = value * 10 + (text[at] - '0');
        at++;
    }
    return at > start;
}

std::string GeometryWithSize(const std::string& value, int width, int height)
{
    std::string start = std::to_string(width) + "x" + std::to_string(height);
    size_t at = value.compare(0, 1, "=") == 0 ? 1 : 0;
    long w = 0, h = 0;
    if (at < value.size() && isdigit((unsigned char)value[at])) {
        if (!ReadNumber(value, at, w))
            return start;
        if (at < value.size() && (value[at] == 'x' || value[at] == 'X')) {
            at++;
            if (!ReadNumber(value, at, h))
                return start;
        }
    } else if (at < value.size() && (value[at] == 'x' || value[at] == 'X')) {
        at++;
        if (!ReadNumber(value, at, h))
            return start;
    }
    size_t place = at;
    for (int offset = 0; offset < 2 && at < value.size(); offset++) {
        long ignored;
        if (value[at] != '+' && value[at] != '-')
            return start;
        at++;
        if (!ReadNumber(value, at, ignored))
            return start;
    }
    if (at != value.size())
        return start;
    if (w < 1 || w > GEOMETRY_SIZE_MAX)
        w = width;
    if (h < 1 || h > GEOMETRY_SIZE_MAX)
        h = height;
    return std::to_string(w) + "x" + std::to_string(h) + value.substr(place);
}

void CompleteGeometryOption(int argc, char** argv, int width, int height, std::string& storage)
{
    int last = -1;
    for (int i = 1; i + 1 < argc; i++)
        if (strcmp(argv[i], "-geometry") == 0)
            last = ++i;
    if (last < 0)
        return;
    storage = GeometryWithSize(argv[last], width, height);
    argv[last] = &storage[0];
}

bool TakeOption(int& argc, char** argv, const char* name)
{
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], name) == 0)
            found = true;
        else
            argv[kept++] = argv[i];
    }
    if (argc > 0) {
        argc = kept;
        argv[argc] = nullptr;
    }
    return found;
}
