// Text from a file, made safe to print: a recording's version text could
// hold a terminal's escape sequences.
#pragma once

#include <string>

// `text` with every byte outside printable ASCII, and the backslash, written
// as \xNN (the backslash as \\), so it shows what it holds and never acts.
std::string PrintableText(const std::string& text);
