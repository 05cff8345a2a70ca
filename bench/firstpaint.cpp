// tavoret_firstpaint: starts a program and times its start from outside, as the user sees it:
// when its window is mapped, when the window first receives drawing, when the drawing stops,
// and how much memory the program used at most.
//
//   tavoret_firstpaint [--quiet MS] [--timeout MS] [--verbose] -- COMMAND [ARGS...]
//
// It prints one line, times in ms from just before the fork:
//   map_ms=... first_paint_ms=... settled_ms=... peak_rss_kib=... damage_events=...
// (-1 for what was not seen); --verbose also lists every map and damage event on stderr.
// first_paint is the first drawing into a top-level window after its map, settled the last
// drawing before none came for --quiet ms (default 1000); --timeout (default 30000) ends the
// wait in any case, as does the command's exit. The command is then ended (SIGTERM). Its
// drawing is observed with the X DAMAGE extension, so it needs no changes; run it on an X server
// without a window manager (Xvfb). Exit status 1 when no drawing was seen.
//
// A Damage object is made for every top-level window as soon as it is created, not when it is
// mapped: the program may draw right after the map, before a Damage object made on MapNotify
// would exist, and that first drawing would be missed.
//
// Not every damage is the program's drawing. A window with a background gets it painted by the
// server while the server handles the MapWindow request, and that is reported as damage of the
// whole window (on Xvfb it reaches us a fraction of a ms after the MapNotify, in a read of its
// own); a Damage object made on a window that is already mapped also reports the whole window
// at once. Qt's xcb windows have no background (back pixmap None), so for Qt programs the first
// damage is the program's own first paint, several ms after the map. To keep the server's own
// damage out of first_paint anyway, a request is sent on each MapNotify as a mark: events carry
// the sequence number of the last of our requests the server had handled, so damage numbered
// below the mark was made before the server got to it, during or right after the map, before the
// program could have answered its Expose event with drawing. Such damage is counted in
// damage_events but not taken as the first paint.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double NowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

int Usage()
{
    std::fprintf(stderr, "usage: tavoret_firstpaint [--quiet MS] [--timeout MS] [--verbose] -- COMMAND [ARGS...]\n");
    return 2;
}

bool ChildExited(pid_t child)
{
    // WNOWAIT leaves the child to be reaped later by wait4, which gives its resource usage.
    siginfo_t info;
    info.si_pid = 0;
    return waitid(P_PID, id_t(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child;
}

// Ends the child (SIGTERM, then SIGKILL after 5 s), reaps it and returns its peak RSS in KiB.
long EndChild(pid_t child)
{
    kill(child, SIGTERM);
    const double deadline = NowMs() + 5000;
    while (!ChildExited(child) && NowMs() < deadline)
        usleep(10000);
    if (!ChildExited(child))
        kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    return usage.ru_maxrss;
}

// Sends a request that needs nothing done and returns its sequence number. Every event carries
// the number of the last of our requests the server had handled when it made the event, so an
// event numbered below the mark was made before the server got to this request.
unsigned Mark(xcb_connection_t *connection)
{
    const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(connection);
    xcb_discard_reply(connection, cookie.sequence);
    xcb_flush(connection);
    return cookie.sequence;
}

struct Window
{
    xcb_damage_damage_t damage = 0;
    bool mapped = false;
    unsigned drawnFrom = 0; // damage from this mark on can be the program's drawing
};

} // namespace

int main(int argc, char **argv)
{
    double quietMs = 1000, timeoutMs = 30000;
    bool verbose = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        } else if (arg == "--quiet" && i + 1 < argc) {
            quietMs = std::atof(argv[++i]);
        } else if (arg == "--timeout" && i + 1 < argc) {
            timeoutMs = std::atof(argv[++i]);
        } else if (arg == "--verbose") {
            verbose = true;
        } else {
            return Usage();
        }
    }
    if (i >= argc)
        return Usage();
    char **command = argv + i;

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "tavoret_firstpaint: cannot open the display (DISPLAY=%s)\n",
                     getenv("DISPLAY") ? getenv("DISPLAY") : "");
        return 1;
    }
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!extension || !extension->present) {
        std::fprintf(stderr, "tavoret_firstpaint: the X server has no DAMAGE extension\n");
        return 1;
    }
    std::unique_ptr<xcb_damage_query_version_reply_t, decltype(&free)> version(
        xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1), nullptr), &free);
    if (!version) {
        std::fprintf(stderr, "tavoret_firstpaint: DAMAGE does not answer\n");
        return 1;
    }
    const uint8_t damageNotify = extension->first_event + XCB_DAMAGE_NOTIFY;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t select = xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &rootEvents);
    if (xcb_generic_error_t *error = xcb_request_check(connection, select)) {
        std::fprintf(stderr, "tavoret_firstpaint: cannot watch the root window (error %d)\n", error->error_code);
        free(error);
        return 1;
    }

    const double start = NowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("tavoret_firstpaint: fork");
        return 1;
    }
    if (child == 0) {
        // The command's output goes to stderr, so that stdout holds only the figures.
        close(xcb_get_file_descriptor(connection));
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(command[0], command);
        std::fprintf(stderr, "tavoret_firstpaint: cannot start %s: %s\n", command[0], std::strerror(errno));
        _exit(127);
    }

    std::map<xcb_window_t, Window> windows;
    double mapMs = -1, firstPaintMs = -1, lastDamageMs = -1;
    long damageEvents = 0;
    bool childExited = false;
    const auto watch = [&](xcb_window_t window) {
        Window &w = windows[window];
        if (w.damage == 0) {
            w.damage = xcb_generate_id(connection);
            xcb_damage_create(connection, w.damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            xcb_flush(connection);
        }
        return &w;
    };
    pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        const double now = NowMs() - start;
        if (now >= timeoutMs)
            break;
        if (firstPaintMs >= 0 && now - lastDamageMs >= quietMs)
            break;
        if (ChildExited(child)) {
            childExited = true;
            break;
        }
        // Short waits, so that the child's exit is noticed within a few ms.
        poll(&fd, 1, 10);
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event && xcb_connection_has_error(connection)) {
            std::fprintf(stderr, "tavoret_firstpaint: lost the X connection\n");
            EndChild(child);
            return 1;
        }
        const double batchMs = NowMs() - start;
        for (; event; free(event), event = xcb_poll_for_event(connection)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                auto *create = reinterpret_cast<xcb_create_notify_event_t *>(event);
                if (create->parent == root && !create->override_redirect)
                    watch(create->window);
            } else if (type == XCB_MAP_NOTIFY) {
                auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (map->event != root || map->override_redirect)
                    continue;
                Window *window = watch(map->window);
                window->mapped = true;
                window->drawnFrom = Mark(connection);
                if (mapMs < 0)
                    mapMs = batchMs;
                if (verbose)
                    std::fprintf(stderr, "%8.1f map 0x%x\n", batchMs, map->window);
            } else if (type == XCB_DESTROY_NOTIFY) {
                windows.erase(reinterpret_cast<xcb_destroy_notify_event_t *>(event)->window);
            } else if (type == damageNotify) {
                auto *damage = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                auto window = windows.find(damage->drawable);
                if (window == windows.end() || !window->second.mapped)
                    continue;
                const bool atMap = event->full_sequence < window->second.drawnFrom;
                ++damageEvents;
                lastDamageMs = batchMs;
                if (firstPaintMs < 0 && !atMap)
                    firstPaintMs = batchMs;
                if (verbose)
                    std::fprintf(stderr, "%8.1f damage 0x%x %dx%d+%d+%d%s\n", batchMs, damage->drawable,
                                 damage->area.width, damage->area.height, damage->area.x, damage->area.y,
                                 atMap ? " (with the map)" : "");
            } else if (type == 0 && verbose) {
                auto *error = reinterpret_cast<xcb_generic_error_t *>(event);
                std::fprintf(stderr, "%8.1f X error %d (request %d)\n", batchMs, error->error_code,
                             error->major_code);
            }
        }
    }

    if (childExited && firstPaintMs < 0)
        std::fprintf(stderr, "tavoret_firstpaint: %s exited before painting a window\n", command[0]);
    else if (firstPaintMs < 0)
        std::fprintf(stderr, "tavoret_firstpaint: no window was painted within %.0f ms\n", timeoutMs);
    const long peakRssKib = EndChild(child);
    xcb_disconnect(connection);
    std::printf("map_ms=%.1f first_paint_ms=%.1f settled_ms=%.1f peak_rss_kib=%ld damage_events=%ld\n", mapMs,
                firstPaintMs, firstPaintMs < 0 ? -1.0 : lastDamageMs, peakRssKib, damageEvents);
    return firstPaintMs < 0 ? 1 : 0;
}
