// startwatch WIDTH SETTLE_MS PROGRAM [ARGS...]: starts PROGRAM and prints
// the milliseconds from exec to the mapping of its first top-level window
// WIDTH pixels wide, then, SETTLE_MS later, ends it and prints its peak
// resident memory in KiB and the processor time all its threads had used
// when the window was mapped: "<ms> <KiB> <cpu ms>". Watching the X
// server's own notifications avoids the polling delay of xdotool; the
// processor time is what other loads on a shared machine disturb least.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int Fail(const char* why, pid_t child) {
    std::fprintf(stderr, "startwatch: %s\n", why);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return 1;
}

bool IsWide(xcb_connection_t* x, xcb_window_t window, int width) {
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
    const bool wide = geometry && geometry->width == width;
    std::free(geometry);
    return wide;
}

// Nanoseconds on the processor, summed over the threads of a process.
double CpuMs(pid_t pid) {
    double ns = 0;
    std::error_code error;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double running = 0;
        if (schedstat >> running)
            ns += running;
    }
    return ns / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startwatch WIDTH SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int settleMs = std::atoi(argv[2]);

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        return Fail("no X display", 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    double shownMs = -1, cpuMs = 0;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (shownMs < 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                const Clock::time_point at = Clock::now();
                const double used = CpuMs(child);
                if (IsWide(x, map->window, width)) {
                    shownMs = std::chrono::duration<double, std::milli>(at - start).count();
                    cpuMs = used;
                }
            }
            std::free(event);
        }
        if (shownMs >= 0)
            break;
        if (std::chrono::duration<double>(Clock::now() - start).count() > 20)
            return Fail("no window appeared", child);
        if (xcb_connection_has_error(x))
            return Fail("lost the X display", child);
        if (waitpid(child, nullptr, WNOHANG) == child)
            return Fail("the program ended before its window appeared", 0);
        poll(&fd, 1, 100);
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("%.1f %ld %.1f\n", shownMs, usage.ru_maxrss, cpuMs);
    xcb_disconnect(x);
    return 0;
}
