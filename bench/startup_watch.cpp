// Start-up time of a desktop program, seen from outside it, the same way for
// any program: an X client that starts the program and watches the display.
//
//   recibo_startup_watch TITLE PROGRAM [ARGUMENTS...]
//
// The clock starts just before the program is spawned. "mapped" is when the
// display maps the program's top-level window whose title is TITLE; "painted"
// is when the first drawing into that window reaches the display (the X
// DAMAGE extension reports it). The program is then ended; "cpu" is the
// processor time it used until then (user and system), which other programs
// running at the same time change much less than the clock. Prints
//
//   mapeo_ms=<ms> pintura_ms=<ms> cpu_ms=<ms>
//
// and exits 0; exits 1 on a usage or display error, 2 when the program ended
// or timed out before its window was painted. The program itself is not
// changed or instrumented in any way.

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/damage.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string textProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr),
        &std::free);
    if (!reply || reply->format != 8)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

// A round trip: every request sent before it has been carried out.
void sync(xcb_connection_t* connection)
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s TÍTULO PROGRAMA [ARGUMENTOS...]\n", argv[0]);
        return 1;
    }
    const std::string title = argv[1];
    constexpr double kTimeoutMs = 30000;

    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no se pudo abrir la pantalla (DISPLAY=%s)\n", std::getenv("DISPLAY"));
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "la pantalla no tiene la extensión DAMAGE\n");
        return 1;
    }
    std::free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
    const xcb_atom_t netWmName = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8String = atom(connection, "UTF8_STRING");

    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &rootEvents);
    sync(connection);

    // Every new top-level window is watched for drawing from its creation,
    // so that the first drawing cannot come before the watch.
    std::map<xcb_window_t, xcb_damage_damage_t> watched;
    std::optional<xcb_window_t> target;
    double mappedAt = 0;

    const double startedAt = monotonicMs();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "no se pudo ejecutar %s\n", argv[2]);
        return 1;
    }

    // Ends the program; its processor time in milliseconds.
    const auto end = [&] {
        kill(child, SIGTERM);
        rusage usage{};
        wait4(child, nullptr, 0, &usage);
        xcb_disconnect(connection);
        const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
        return ms(usage.ru_utime) + ms(usage.ru_stime);
    };
    const auto finish = [&](int status) {
        end();
        return status;
    };

    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (!event) {
            if (xcb_connection_has_error(connection)) {
                std::fprintf(stderr, "se perdió la conexión con la pantalla\n");
                return finish(1);
            }
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "%s terminó antes de pintar la ventana \"%s\"\n", argv[2], title.c_str());
                xcb_disconnect(connection);
                return 2;
            }
            const double left = kTimeoutMs - (monotonicMs() - startedAt);
            if (left <= 0) {
                std::fprintf(stderr, "la ventana \"%s\" no se pintó en %.0f s\n", title.c_str(), kTimeoutMs / 1000);
                return finish(2);
            }
            poll(&display, 1, std::min(100, static_cast<int>(left) + 1));
            continue;
        }
        const double now = monotonicMs();
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (created->parent == root) {
                const xcb_damage_damage_t id = xcb_generate_id(connection);
                xcb_damage_create(connection, id, created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(connection);
                watched[created->window] = id;
            }
        } else if (type == XCB_MAP_NOTIFY && !target) {
            const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
            std::string name = textProperty(connection, mapped->window, netWmName, utf8String);
            if (name.empty())
                name = textProperty(connection, mapped->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
            if (name == title && watched.count(mapped->window)) {
                target = mapped->window;
                mappedAt = now;
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* drawn = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (target && drawn->drawable == *target) {
                std::free(event);
                const double cpu = end();
                std::printf("mapeo_ms=%.3f pintura_ms=%.3f cpu_ms=%.3f\n", mappedAt - startedAt, now - startedAt, cpu);
                return 0;
            }
            // Drawing into another window, or before the title window is
            // mapped: acknowledged so that the next drawing is reported.
            xcb_damage_subtract(connection, drawn->damage, XCB_NONE, XCB_NONE);
            xcb_flush(connection);
        }
        std::free(event);
    }
}
