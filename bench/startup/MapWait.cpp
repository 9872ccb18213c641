// Starts a program and reports, on one line, the milliseconds until the X server maps its first
// top-level window of at least the given size, and the program's peak resident memory in kB a
// settling time later: "<ms> <kB>". The program is then ended.
// Usage: map-wait WIDTH HEIGHT SETTLE_MS PROGRAM [ARGUMENTS...]
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

// The peak resident memory of a live process in kB, from its status file.
long PeakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

bool BigEnough(xcb_connection_t* connection, xcb_window_t window, int width, int height) {
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &std::free);
    return geometry && geometry->width >= width && geometry->height >= height;
}

// Waits for the MapNotify of a large enough child of the root; false after the time limit.
bool WaitForMap(xcb_connection_t* connection, int width, int height, Clock::duration limit) {
    const Clock::time_point end = Clock::now() + limit;
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < end) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                BigEnough(connection, reinterpret_cast<xcb_map_notify_event_t*>(event)->window, width, height);
            std::free(event);
            if (mapped)
                return true;
        }
        poll(&descriptor, 1, 50);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: map-wait WIDTH HEIGHT SETTLE_MS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int settle = std::atoi(argv[3]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map-wait: no X display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[4], argv + 4);
        _exit(127);
    }
    const bool mapped = WaitForMap(connection, width, height, std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    usleep(static_cast<useconds_t>(settle) * 1000);
    const long peak = PeakKilobytes(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "map-wait: no window was mapped\n");
        return 1;
    }
    std::printf("%.2f %ld\n", ms, peak);
    return 0;
}
