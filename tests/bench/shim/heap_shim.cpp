// Preloaded into the real programs by long soak runs, which may not change
// the program: tells the memory the program's own code holds apart from the
// memory the GL driver holds. A key soak drives llvmpipe through thousands of
// combinations of GL state (fog modes, lights, textures, culling, views, day
// and night), and the driver compiles and caches code for each new one; that
// growth says nothing about a leak of ours. So every block is attributed to
// the code that asked for it: the program's executable, or anything else.
//
//   PELORIN_HEAP_LOG=FILE   appends, at most once a second after a buffer
//                           swap, "H ns heap own blocks lists textures":
//                           ns on the monotonic clock, the bytes in use on
//                           the whole heap, the bytes and blocks in use that
//                           the executable's own code allocated, and the
//                           display lists and textures the process has
//                           named and not deleted; and one "E ..." line of
//                           the same fields as the program exits, after its
//                           static objects are gone. " table-full" ends a
//                           line once the witness has lost count.
//
// A block is the program's when the first caller outside the C and C++
// runtimes (and this shim) lies in the executable: a vector growing in our
// code, or fopen called from our code, counts; a driver's strdup does not.
// Memory behind GL objects is the driver's, so the objects are counted
// instead: a program that keeps naming new lists or textures leaks them.
#include <GL/gl.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "shim_common.h"

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* block, size_t size);
extern "C" void __libc_free(void* block);

namespace {

enum CodeKind { CODE_OTHER, CODE_PROGRAM, CODE_RUNTIME };

struct CodeRange {
    uintptr_t start, end;
    CodeKind kind;
};

// Executable mappings present at start: the program and the runtimes it was
// linked with. Libraries loaded later (the GL driver) are "other".
CodeRange ranges[64];
int rangeCount = 0;

CodeKind KindOf(const void* address)
{
    uintptr_t a = (uintptr_t)address;
    for (int i = 0; i < rangeCount; i++)
        if (a >= ranges[i].start && a < ranges[i].end)
            return ranges[i].kind;
    return CODE_OTHER;
}

bool EndsWith(const char* text, const char* tail)
{
    size_t n = strlen(text), m = strlen(tail);
    return n >= m && strcmp(text + n - m, tail) == 0;
}

// Runs before main, reading /proc/self/maps with plain system calls: the
// heap must not be used while the hooks below are not ready.
__attribute__((constructor)) void FindCodeRanges()
{
    static char maps[1 << 16];
    static char self[4096];
    ssize_t selfLength = readlink("/proc/self/exe", self, sizeof self - 1);
    if (selfLength <= 0)
        return;
    self[selfLength] = 0;
    uintptr_t shim = (uintptr_t)&FindCodeRanges;
    int fd = open("/proc/self/maps", O_RDONLY);
    if (fd < 0)
        return;
    size_t used = 0;
    for (ssize_t n; used < sizeof maps - 1 && (n = read(fd, maps + used, sizeof maps - 1 - used)) > 0;)
        used += (size_t)n;
    close(fd);
    maps[used] = 0;
    for (char* line = maps; line && *line && rangeCount < 64;) {
        char* next = strchr(line, '\n');
        if (next)
            *next++ = 0;
        unsigned long start, end;
        char perms[8] = {0};
        int pathAt = 0;
        if (sscanf(line, "%lx-%lx %7s %*s %*s %*s %n", &start, &end, perms, &pathAt) >= 3 && perms[2] == 'x') {
            const char* path = pathAt > 0 ? line + pathAt : "";
            CodeKind kind = CODE_OTHER;
            if (strcmp(path, self) == 0)
                kind = CODE_PROGRAM;
            else if ((shim >= start && shim < end) || strstr(path, "/libc.so") || strstr(path, "/libstdc++.so") ||
                     strstr(path, "/libgcc_s.so") || EndsWith(path, "/libm.so.6"))
                kind = CODE_RUNTIME;
            if (kind != CODE_OTHER)
                ranges[rangeCount++] = CodeRange{start, end, kind};
        }
        line = next;
    }
}

// The program's live blocks: open addressing with linear probing, deletion
// by backward shift. The program holds a few thousand blocks at most.
const size_t TABLE_SIZE = 1 << 16;
struct Entry {
    void* block;
    size_t size;
};
Entry table[TABLE_SIZE];
size_t ownBlocks = 0, ownBytes = 0, tableFull = 0;
std::atomic_flag tableLock = ATOMIC_FLAG_INIT;

struct Locked {
    Locked()
    {
        while (tableLock.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Locked() { tableLock.clear(std::memory_order_release); }
};

size_t Slot(const void* block)
{
    return (size_t)(((uintptr_t)block >> 4) * 0x9E3779B97F4A7C15ull >> 48) & (TABLE_SIZE - 1);
}

void Track(void* block, size_t size)
{
    Locked lock;
    if (ownBlocks >= TABLE_SIZE * 3 / 4) {
        tableFull++;
        return;
    }
    size_t i = Slot(block);
    while (table[i].block)
        i = (i + 1) & (TABLE_SIZE - 1);
    table[i] = Entry{block, size};
    ownBlocks++;
    ownBytes += size;
}

// Returns whether the block was the program's.
bool Untrack(void* block)
{
    Locked lock;
    if (ownBlocks == 0)
        return false;
    size_t i = Slot(block);
    while (table[i].block && table[i].block != block)
        i = (i + 1) & (TABLE_SIZE - 1);
    if (!table[i].block)
        return false;
    ownBlocks--;
    ownBytes -= table[i].size;
    table[i].block = nullptr;
    // Pull later members of the probe run back over the hole.
    for (size_t hole = i, j = (i + 1) & (TABLE_SIZE - 1); table[j].block; j = (j + 1) & (TABLE_SIZE - 1)) {
        size_t home = Slot(table[j].block);
        bool movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
        if (movable) {
            table[hole] = table[j];
            table[j].block = nullptr;
            hole = j;
        }
    }
    return true;
}

thread_local bool inHook __attribute__((tls_model("initial-exec"))) = false;

bool FromProgram(void* caller)
{
    CodeKind kind = KindOf(caller);
    if (kind != CODE_RUNTIME)
        return kind == CODE_PROGRAM;
    // A runtime function allocated on somebody's behalf: walk up to the
    // first caller outside the runtimes. backtrace() may itself allocate.
    if (inHook)
        return false;
    inHook = true;
    void* frames[16];
    int n = backtrace(frames, 16);
    inHook = false;
    for (int i = 0; i < n; i++) {
        kind = KindOf(frames[i]);
        if (kind != CODE_RUNTIME)
            return kind == CODE_PROGRAM;
    }
    return false;
}

void* Allocated(void* block, size_t size, void* caller)
{
    if (block && FromProgram(caller))
        Track(block, size);
    return block;
}

// GL names in use, one bit each; GL calls come from the one thread that
// holds the context. Names past the bitmap count as new each time.
const GLuint NAME_LIMIT = 1 << 20;
struct NameSet {
    uint8_t bits[NAME_LIMIT / 8];
    size_t live;
};
NameSet lists, textures;

void Name(NameSet& set, GLuint name)
{
    if (name == 0)
        return;
    if (name >= NAME_LIMIT) {
        set.live++;
        return;
    }
    uint8_t bit = (uint8_t)(1u << (name & 7));
    if (!(set.bits[name >> 3] & bit)) {
        set.bits[name >> 3] |= bit;
        set.live++;
    }
}

void Unname(NameSet& set, GLuint name)
{
    if (name == 0 || name >= NAME_LIMIT)
        return;
    uint8_t bit = (uint8_t)(1u << (name & 7));
    if (set.bits[name >> 3] & bit) {
        set.bits[name >> 3] &= (uint8_t)~bit;
        set.live--;
    }
}

int logFile = -2; // -2: not opened yet, -1: no log wanted

void LogHeap(char kind)
{
    static long long lastNs = 0;
    if (logFile == -2)
        logFile = OpenLog("PELORIN_HEAP_LOG");
    if (logFile < 0)
        return;
    long long ns = ClockNs(CLOCK_MONOTONIC);
    if (kind == 'H' && ns - lastNs < 1000000000LL)
        return;
    lastNs = ns;
    struct mallinfo2 info = mallinfo2();
    size_t bytes, blocks, full;
    {
        Locked lock;
        bytes = ownBytes;
        blocks = ownBlocks;
        full = tableFull;
    }
    char line[128];
    int n = snprintf(line, sizeof line, "%c %lld %zu %zu %zu %zu %zu%s\n", kind, ns, info.uordblks + info.hblkhd,
                     bytes, blocks, lists.live, textures.live, full ? " table-full" : "");
    if (write(logFile, line, (size_t)n) < 0)
        logFile = -1;
}

__attribute__((destructor)) void LogAtExit()
{
    LogHeap('E');
}

} // namespace

extern "C" void* malloc(size_t size)
{
    return Allocated(__libc_malloc(size), size, __builtin_return_address(0));
}

extern "C" void* calloc(size_t count, size_t size)
{
    return Allocated(__libc_calloc(count, size), count * size, __builtin_return_address(0));
}

extern "C" void* realloc(void* block, size_t size)
{
    void* caller = __builtin_return_address(0);
    bool wasOwn = block && Untrack(block);
    void* moved = __libc_realloc(block, size);
    if (!moved) {
        if (wasOwn && size != 0)
            Track(block, malloc_usable_size(block)); // the old block stays
        return nullptr;
    }
    if (wasOwn)
        Track(moved, size);
    else
        Allocated(moved, size, caller);
    return moved;
}

extern "C" void free(void* block)
{
    if (block)
        Untrack(block);
    __libc_free(block);
}

void* operator new(size_t size)
{
    void* block = __libc_malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return Allocated(block, size, __builtin_return_address(0));
}

void* operator new[](size_t size)
{
    void* block = __libc_malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return Allocated(block, size, __builtin_return_address(0));
}

void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }

extern "C" void glutSwapBuffers()
{
    static auto real = Next<void (*)()>("glutSwapBuffers");
    real();
    LogHeap('H');
}

extern "C" GLuint glGenLists(GLsizei range)
{
    static auto real = Next<GLuint (*)(GLsizei)>("glGenLists");
    GLuint base = real(range);
    for (GLsizei i = 0; base && i < range; i++)
        Name(lists, base + (GLuint)i);
    return base;
}

extern "C" void glNewList(GLuint list, GLenum mode)
{
    static auto real = Next<void (*)(GLuint, GLenum)>("glNewList");
    Name(lists, list);
    real(list, mode);
}

extern "C" void glDeleteLists(GLuint list, GLsizei range)
{
    static auto real = Next<void (*)(GLuint, GLsizei)>("glDeleteLists");
    for (GLsizei i = 0; i < range && list + (GLuint)i < NAME_LIMIT; i++)
        Unname(lists, list + (GLuint)i);
    real(list, range);
}

extern "C" void glGenTextures(GLsizei n, GLuint* names)
{
    static auto real = Next<void (*)(GLsizei, GLuint*)>("glGenTextures");
    real(n, names);
    for (GLsizei i = 0; i < n; i++)
        Name(textures, names[i]);
}

extern "C" void glBindTexture(GLenum target, GLuint name)
{
    static auto real = Next<void (*)(GLenum, GLuint)>("glBindTexture");
    Name(textures, name);
    real(target, name);
}

extern "C" void glDeleteTextures(GLsizei n, const GLuint* names)
{
    static auto real = Next<void (*)(GLsizei, const GLuint*)>("glDeleteTextures");
    for (GLsizei i = 0; i < n; i++)
        Unname(textures, names[i]);
    real(n, names);
}
