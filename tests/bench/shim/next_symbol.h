// How a preloaded shim reaches the definition its wrapper stands in front of.
#pragma once

#include <dlfcn.h>
#include <cstdio>
#include <cstdlib>

template <typename F>
F Next(const char* name)
{
    F f = (F)dlsym(RTLD_NEXT, name);
    if (!f) {
        fprintf(stderr, "shim: no %s\n", name);
        abort();
    }
    return f;
}
