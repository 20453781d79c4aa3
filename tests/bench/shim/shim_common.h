// What the preloaded shims share: reaching the definition a wrapper stands in
// front of, and the log file an environment variable names.
#pragma once

#include <dlfcn.h>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

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

// The descriptor of the file $variable names, opened for appending; -1 when
// the variable is unset or the file cannot be opened.
inline int OpenLog(const char* variable)
{
    const char* path = getenv(variable);
    return path ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
}

inline long long ClockNs(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}
