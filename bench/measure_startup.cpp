// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Start-up time and peak memory of a window program under X, measured from outside: starts each
// program in turn and times it from the moment it is spawned until the X server maps its top-level
// window, and until the window's pixels first show drawn content (more than one colour: a window
// that is mapped but not yet painted is blank); then reads the process's peak resident set once
// the window has had time to settle, and ends the process.
//
//   measure_startup RUNS PROGRAM REFERENCE...
//
// The programs take turns, so that a slow phase of the machine or a cold cache weighs on all
// alike; the medians and the ratios PROGRAM / REFERENCE are printed. Runs without a window
// manager: top-level windows are then children of the root, and the map is the program's own.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Long enough for the window's first paint to be over; both programs wait the same.
constexpr auto settleTime = std::chrono::milliseconds(400);
constexpr auto windowTimeout = std::chrono::seconds(20);

struct Run
{
    double mappedMs;
    double drawnMs;
    double peakResidentKiB;
};

struct Shown
{
    Clock::time_point mapped;
    Clock::time_point drawn;
};

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

class Display
{
public:
    Display() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            fail("cannot reach the X server (DISPLAY)");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_query_extension_reply_t *damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            fail("the X server has no DAMAGE extension");
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        ReplyPtr<xcb_damage_query_version_reply_t> version(
            xcb_damage_query_version_reply(
                m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr),
            &std::free);
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_pidAtom = internAtom("_NET_WM_PID");
        xcb_flush(m_connection);
    }
    ~Display() { xcb_disconnect(m_connection); }
    Display(const Display &) = delete;
    Display &operator=(const Display &) = delete;

    // Waits until a top-level window of the process is mapped and then shows drawn content. Each
    // time is taken as its event arrives; after each report of drawing the window's pixels are
    // read back, since a toolkit may clear or fill a window before it draws what it shows.
    std::optional<Shown> waitForWindow(pid_t pid)
    {
        std::vector<xcb_damage_damage_t> damages;
        std::optional<Shown> shown;
        xcb_window_t window = XCB_WINDOW_NONE;
        bool drawn = false;
        pollfd fd { xcb_get_file_descriptor(m_connection), POLLIN, 0 };
        const auto deadline = Clock::now() + windowTimeout;
        while (!drawn && Clock::now() < deadline) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const auto arrived = Clock::now();
                const uint8_t type = event->response_type & 0x7F;
                if (type == XCB_CREATE_NOTIFY) {
                    // Watched from its creation, so that no drawing can come before the watch.
                    const auto *create = reinterpret_cast<xcb_create_notify_event_t *>(event);
                    if (!create->override_redirect) {
                        damages.push_back(xcb_generate_id(m_connection));
                        xcb_damage_create(m_connection, damages.back(), create->window,
                            XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                        xcb_flush(m_connection);
                    }
                } else if (type == XCB_MAP_NOTIFY && !shown) {
                    const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                    if (!map->override_redirect && windowPid(map->window) == pid) {
                        shown = Shown { arrived, arrived };
                        window = map->window;
                    }
                } else if (type == m_damageEvent && shown && !drawn) {
                    const auto *damage = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                    if (damage->drawable == window) {
                        // Cleared first, so that the next drawing is reported again.
                        xcb_damage_subtract(m_connection, damage->damage, XCB_NONE, XCB_NONE);
                        if (showsContent(window)) {
                            shown->drawn = arrived;
                            drawn = true;
                        }
                    }
                }
                std::free(event);
            }
            if (drawn || xcb_connection_has_error(m_connection)
                || waitpid(pid, nullptr, WNOHANG) == pid)
                break;
            poll(&fd, 1, 100);
        }
        for (const xcb_damage_damage_t damage : damages)
            xcb_damage_destroy(m_connection, damage);
        xcb_flush(m_connection);
        return drawn ? shown : std::nullopt;
    }

private:
    [[noreturn]] static void fail(const char *why)
    {
        std::fprintf(stderr, "measure_startup: %s\n", why);
        std::exit(2);
    }

    xcb_atom_t internAtom(const char *name)
    {
        const auto cookie = xcb_intern_atom(m_connection, 0, std::strlen(name), name);
        ReplyPtr<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    pid_t windowPid(xcb_window_t window)
    {
        const auto cookie =
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1);
        ReplyPtr<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply || xcb_get_property_value_length(reply.get()) != 4)
            return -1;
        return static_cast<pid_t>(*static_cast<uint32_t *>(xcb_get_property_value(reply.get())));
    }

    // Whether the window's pixels hold more than one colour. A window that cannot be read
    // (gone, or not viewable) shows nothing.
    bool showsContent(xcb_window_t window)
    {
        ReplyPtr<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr),
            &std::free);
        if (!geometry)
            return false;
        ReplyPtr<xcb_get_image_reply_t> image(
            xcb_get_image_reply(m_connection,
                xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                    geometry->width, geometry->height, ~0u),
                nullptr),
            &std::free);
        if (!image)
            return false;
        const uint8_t *pixels = xcb_get_image_data(image.get());
        const int length = xcb_get_image_data_length(image.get());
        const int pixelBytes = length / (geometry->width * geometry->height);
        if (pixelBytes < 1)
            return false;
        for (int at = pixelBytes; at + pixelBytes <= length; at += pixelBytes) {
            if (std::memcmp(pixels, pixels + at, std::min(pixelBytes, 3)) != 0)
                return true;
        }
        return false;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_pidAtom;
    uint8_t m_damageEvent;
};

// VmHWM: the largest resident set the process has had, in KiB.
double peakResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr);
    }
    return 0;
}

std::optional<Run> measure(Display &display, const char *program)
{
    char *argv[] = { const_cast<char *>(program), nullptr };
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto started = Clock::now();
    const int failed = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        std::fprintf(
            stderr, "measure_startup: cannot start %s: %s\n", program, std::strerror(failed));
        return std::nullopt;
    }
    const std::optional<Shown> shown = display.waitForWindow(pid);
    std::optional<Run> run;
    if (shown) {
        std::this_thread::sleep_for(settleTime);
        run = Run { Milliseconds(shown->mapped - started).count(),
            Milliseconds(shown->drawn - started).count(), peakResidentKiB(pid) };
    } else {
        std::fprintf(stderr, "measure_startup: %s showed no window\n", program);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

const char *baseName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// The median and the fastest run of each program, and the first program's as a ratio of each
// reference's. On a busy machine the fastest runs are the ones that other work disturbed least.
void printFigure(const char *title, const std::vector<const char *> &programs,
    const std::vector<std::vector<double>> &runs, double scale, const char *unit)
{
    std::vector<double> medians, fastest;
    for (const auto &values : runs) {
        medians.push_back(median(values) * scale);
        fastest.push_back(*std::min_element(values.begin(), values.end()) * scale);
    }
    std::printf("%s, %zu runs each: median (fastest)\n", title, runs[0].size());
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf(
            "  %-29s %8.1f %s (%.1f)\n", baseName(programs[p]), medians[p], unit, fastest[p]);
    for (std::size_t p = 1; p < programs.size(); ++p)
        std::printf("  ratio to %-20s %8.3f    (%.3f)\n", baseName(programs[p]),
            medians[0] / medians[p], fastest[0] / fastest[p]);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: measure_startup RUNS PROGRAM REFERENCE...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::vector<const char *> programs(argv + 2, argv + argc);
    Display display;
    std::vector<std::vector<double>> mapped(programs.size()), drawn(programs.size()),
        memory(programs.size());
    for (int i = 0; i < runs; ++i) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const std::optional<Run> run = measure(display, programs[p]);
            if (!run)
                return 1;
            mapped[p].push_back(run->mappedMs);
            drawn[p].push_back(run->drawnMs);
            memory[p].push_back(run->peakResidentKiB);
        }
    }
    printFigure(
        "start-up until the window is mapped (target ratio <= 1.10)", programs, mapped, 1, "ms");
    printFigure("start-up until the window shows drawn content (first drawn frame, by its pixels)",
        programs, drawn, 1, "ms");
    printFigure("peak resident set (VmHWM) with the window shown (target ratio <= 1.10)", programs,
        memory, 1.0 / 1024, "MiB");
    return 0;
}
