// Text from a file, made safe to print.
#include "common/printable_text.h"

#include <cstdio>

std::string PrintableText(const std::string& text)
{
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\\') {
            shown += "\\\\";
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[5];
            snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        } else {
            shown += (char)c;
        }
    }
    return shown;
}
