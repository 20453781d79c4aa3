// Starting the simulator over the grid being edited, in a scratch folder of
// its own that is removed when the simulator ends.
#include "editor/fly.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/landscape_writer.h"
#include "common/program_beside.h"
#include "editor/grid.h"

// Where an installation keeps the images, relative to the programs' folder,
// and where the source tree keeps them; the build passes both.
#ifndef PELORIN_BIN_TO_DATA
#define PELORIN_BIN_TO_DATA "../share/pelorin"
#endif
#ifndef PELORIN_SOURCE_DATA
#define PELORIN_SOURCE_DATA ""
#endif

extern char** environ;

namespace editor {

const char* const IMAGE_WITNESS = "floor.rgb"; // one of the simulator's images
const char* const SCRATCH_PATTERN = "/pelorin-fly.XXXXXX";
const int CLOSE_FALLBACK_LIMIT = 65536; // descriptors closed one by one without close_range

static bool HoldsImages(const std::string& folder)
{
    struct stat info;
    return !folder.empty() && stat((folder + "/" + IMAGE_WITNESS).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FindImageFolder(const std::string& editorFolder, const char* binToData, const char* sourceData)
{
    if (!editorFolder.empty() && binToData && HoldsImages(editorFolder + "/" + binToData))
        return editorFolder + "/" + binToData;
    if (sourceData && HoldsImages(sourceData))
        return sourceData;
    return "";
}

static bool EndsWith(const std::string& text, const char* end)
{
    size_t n = strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// Links every image of `images` into `scratch`, as the launcher does, and
// adds each link to `made`.
static void LinkImages(const std::string& images, const std::string& scratch, std::vector<std::string>& made)
{
    DIR* folder = opendir(images.c_str());
    if (!folder)
        return;
    while (struct dirent* entry = readdir(folder)) {
        std::string name = entry->d_name;
        if (!EndsWith(name, ".rgb") && !EndsWith(name, ".rgba"))
            continue;
        std::string link = scratch + "/" + name;
        if (symlink((images + "/" + name).c_str(), link.c_str()) == 0)
            made.push_back(link);
    }
    closedir(folder);
}

static void RemoveScratch(const std::string& scratch, const std::vector<std::string>& made)
{
    for (const std::string& file : made)
        unlink(file.c_str());
    rmdir(scratch.c_str());
}

// Closes every descriptor from 3 on but the two kept, so that neither the
// waiting process nor the simulator holds the editor's X connection (its
// window would outlive the editor) or anything else of the editor's.
static void CloseAllBut(int keepA, int keepB, long limit)
{
    int low = keepA < keepB ? keepA : keepB;
    int high = keepA < keepB ? keepB : keepA;
    unsigned int ranges[3][2] = {{3, (unsigned)low - 1}, {(unsigned)low + 1, (unsigned)high - 1},
                                 {(unsigned)high + 1, ~0U}};
    for (auto& range : ranges) {
        if (range[0] > range[1])
            continue;
        if (close_range(range[0], range[1], 0) == 0)
            continue;
        for (long fd = range[0]; fd <= (long)range[1] && fd < limit; fd++)
            close((int)fd);
    }
}

// What the processes of the launch report through the pipe; nothing arrives
// when the simulator's exec succeeded.
struct LaunchReport {
    int stage; // LAUNCH_*
    int error; // errno
};
const int LAUNCH_DETACH = 1; // the waiting process could not be made: nobody removes the folder
const int LAUNCH_START = 2;  // the simulator could not be started: the waiting process removes it

// Async-signal-safe calls only between fork and exec: the editor's GL
// driver may run threads of its own, whose locks a child would inherit held.
static void Report(int fd, int stage)
{
    LaunchReport report = {stage, errno};
    if (write(fd, &report, sizeof report) < 0) {
        // Nobody left to tell.
    }
}

// Starts `simulator` in `scratch`, detached: a short-lived child forks the
// process that waits for the simulator and then removes `made` and the
// folder, so the editor never waits and the folder goes even if the editor
// has closed first. Returns false with `reason` when the simulator did not
// start; `removed` then says whether the waiting process took the folder.
static bool Launch(const std::string& simulator, const std::string& scratch, const std::vector<std::string>& made,
                   std::string& reason, bool& removed)
{
    // Everything the children need is made before the fork.
    std::vector<std::string> environment;
    const char SHOTS[] = "PELORIN_SCREENSHOTS=";
    char here[PATH_MAX];
    for (char** entry = environ; *entry; entry++) {
        const char* shots = strncmp(*entry, SHOTS, sizeof SHOTS - 1) == 0 ? *entry + sizeof SHOTS - 1 : nullptr;
        // A screenshot folder named from here must not end up in the
        // scratch folder, which goes with the flight.
        if (shots && *shots != '/' && *shots != '\0' && getcwd(here, sizeof here))
            environment.push_back(std::string(SHOTS) + here + "/" + shots);
        else if (strncmp(*entry, "PWD=", 4) != 0)
            environment.push_back(*entry);
    }
    // The launcher takes the landscape of $PWD.
    environment.push_back("PWD=" + scratch);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(&entry[0]);
    envp.push_back(nullptr);
    std::string program = simulator;
    char* argv[] = {&program[0], nullptr};
    std::vector<const char*> removals;
    for (const std::string& file : made)
        removals.push_back(file.c_str());
    const char* folder = scratch.c_str();
    long limit = sysconf(_SC_OPEN_MAX);
    if (limit < 0 || limit > CLOSE_FALLBACK_LIMIT)
        limit = CLOSE_FALLBACK_LIMIT;

    int pipeFds[2];
    int nullFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nullFd < 0 || pipe2(pipeFds, O_CLOEXEC) != 0) {
        reason = std::string("cannot start a process: ") + strerror(errno);
        if (nullFd >= 0)
            close(nullFd);
        removed = false;
        return false;
    }
    fflush(stdout);
    fflush(stderr);
    pid_t detacher = fork();
    if (detacher == 0) {
        CloseAllBut(pipeFds[1], nullFd, limit);
        // Its own session: a Ctrl+C for the editor's terminal does not end
        // the simulator before the folder is removed.
        setsid();
        pid_t waiter = fork();
        if (waiter < 0)
            Report(pipeFds[1], LAUNCH_DETACH);
        if (waiter != 0)
            _exit(0);
        pid_t flight = fork();
        if (flight == 0) {
            // The console's answers are the editor's.
            dup2(nullFd, 0);
            if (chdir(folder) == 0)
                execve(argv[0], argv, envp.data());
            Report(pipeFds[1], LAUNCH_START);
            _exit(127);
        }
        if (flight < 0)
            Report(pipeFds[1], LAUNCH_START);
        close(pipeFds[1]);
        while (flight > 0 && waitpid(flight, nullptr, 0) < 0 && errno == EINTR) {
        }
        for (const char* file : removals)
            unlink(file);
        if (rmdir(folder) != 0) {
            // The simulator left files of its own there.
            execl("/bin/rm", "rm", "-rf", "--", folder, (char*)nullptr);
        }
        _exit(0);
    }
    int forkErrno = errno;
    close(pipeFds[1]);
    close(nullFd);
    if (detacher < 0) {
        close(pipeFds[0]);
        reason = std::string("cannot start a process: ") + strerror(forkErrno);
        removed = false;
        return false;
    }
    while (waitpid(detacher, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word once the simulator's program runs.
    LaunchReport report = {0, 0};
    ssize_t got;
    while ((got = read(pipeFds[0], &report, sizeof report)) < 0 && errno == EINTR) {
    }
    close(pipeFds[0]);
    if (got <= 0)
        return true;
    reason = "could not start " + simulator + ": " + strerror(report.error);
    removed = report.stage == LAUNCH_START;
    return false;
}

// `path` from the working directory when it is relative.
static std::string Absolute(const std::string& path)
{
    char here[PATH_MAX];
    if (path[0] == '/' || !getcwd(here, sizeof here))
        return path;
    return std::string(here) + "/" + path;
}

void FlyGrid()
{
    std::string own = OwnFolder();
    std::string simulator = FindProgram(own, SIMULATOR_NAME, getenv("PATH"));
    if (simulator.empty()) {
        printf("Cannot fly the grid: no %s beside %s or on PATH\n", SIMULATOR_NAME,
               own.empty() ? "the editor" : own.c_str());
        return;
    }
    // The simulator starts in the scratch folder, so a name found through
    // a relative PATH entry must not depend on the working directory.
    simulator = Absolute(simulator);
    const char* temp = getenv("TMPDIR");
    std::string scratch = std::string(temp && temp[0] ? temp : "/tmp") + SCRATCH_PATTERN;
    if (!mkdtemp(&scratch[0])) {
        printf("Cannot fly the grid: no scratch folder in %s: %s\n", temp && temp[0] ? temp : "/tmp",
               strerror(errno));
        return;
    }
    // The launcher flies the landscape of $PWD, which a relative TMPDIR
    // would leave naming a folder that is not there from the scratch folder.
    scratch = Absolute(scratch);
    std::vector<std::string> made;
    std::string landscape = scratch + "/landscape.dmf";
    std::string reason;
    if (!SaveLandscapeFile(landscape.c_str(), gridSizeX, gridSizeY, gridHeights, reason)) {
        RemoveScratch(scratch, made);
        printf("Cannot fly the grid: %s\n", reason.c_str());
        return;
    }
    made.push_back(landscape);
    LinkImages(FindImageFolder(own, PELORIN_BIN_TO_DATA, PELORIN_SOURCE_DATA), scratch, made);
    bool removed = false;
    if (!Launch(simulator, scratch, made, reason, removed)) {
        if (!removed)
            RemoveScratch(scratch, made);
        printf("Cannot fly the grid: %s\n", reason.c_str());
        return;
    }
    printf("Flying the grid: %s\n", simulator.c_str());
}

} // namespace editor
