// Time from starting a program to the map of its top-level window, seen as MapNotify on the
// root window, for the editor and a bare Qt main window started alternately, so that both see
// the same load. Prints the medians and their ratio, in wall time and in the CPU time that the
// program's threads had used by then (from /proc/PID/task/*/schedstat; on a loaded machine the
// steadier of the two).
// Usage: startup_map_bench PAIRS EDITOR BARE_WINDOW   (under an X server without a window
// manager, DISPLAY set; bench/startup_bench.sh starts one)
#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Start {
    double wallMs = -1;
    double cpuMs = -1;
};

// CPU time of all threads of `pid` so far, in milliseconds.
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return -1;
    double total = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        if (FILE* stat = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(stat, "%llu", &ns) == 1) total += double(ns) / 1e6;
            std::fclose(stat);
        }
    }
    closedir(dir);
    return total;
}

// Starts `program`, waits for the first MapNotify of a child of the root window and returns the
// milliseconds it took (negative after 10 s); the program is then ended.
Start timeToMap(xcb_connection_t* x, const char* program)
{
    char* argv[] = {const_cast<char*>(program), nullptr};
    // Events of an earlier run must not count for this one.
    for (xcb_generic_event_t* e; (e = xcb_poll_for_event(x));) std::free(e);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) != 0) return {};
    Start result;
    const int fd = xcb_get_file_descriptor(x);
    while (Clock::now() - start < std::chrono::seconds(10)) {
        xcb_generic_event_t* e = xcb_poll_for_event(x);
        if (!e) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(fd, &set);
            timeval wait{0, 10000};
            select(fd + 1, &set, nullptr, nullptr, &wait);
            continue;
        }
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(e);
        if (mapped) {
            result.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            result.cpuMs = cpuMs(child);
            break;
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_map_bench PAIRS EDITOR BARE_WINDOW\n");
        return 2;
    }
    const int pairs = std::atoi(argv[1]);
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "startup_map_bench: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    // One start of each first, not counted: it fills the caches of the file system and fonts.
    timeToMap(x, argv[2]);
    timeToMap(x, argv[3]);
    std::vector<double> editorWall, bareWall, editorCpu, bareCpu;
    for (int i = 0; i < pairs; ++i) {
        const Start e = timeToMap(x, argv[2]);
        const Start b = timeToMap(x, argv[3]);
        if (e.wallMs < 0 || b.wallMs < 0) {
            std::fprintf(stderr, "startup_map_bench: a window did not map within 10 s\n");
            return 1;
        }
        editorWall.push_back(e.wallMs);
        bareWall.push_back(b.wallMs);
        editorCpu.push_back(e.cpuMs);
        bareCpu.push_back(b.cpuMs);
    }
    const double ew = median(editorWall), bw = median(bareWall), ec = median(editorCpu), bc = median(bareCpu);
    std::printf("to the map, medians of %d alternating pairs:\n", pairs);
    std::printf("  wall: editor %.1f ms, bare window %.1f ms: %.2fx\n", ew, bw, ew / bw);
    std::printf("  CPU:  editor %.1f ms, bare window %.1f ms: %.2fx\n", ec, bc, ec / bc);
    xcb_disconnect(x);
    return 0;
}
