// Finding a program of the suite: beside the running one (where the build
// and an installation both put them), else on PATH.
#pragma once

#include <string>

// The folder of the running program, links resolved, as the installed
// launcher finds its own parts; empty when it cannot be read.
std::string OwnFolder();

// `name` in `ownFolder`, else the first one on `searchPath` (PATH's form; an
// empty entry is the working directory; null searches nothing). Only an
// executable regular file counts. Empty when there is none.
std::string FindProgram(const std::string& ownFolder, const char* name, const char* searchPath);
