// Starts a program under the X server and times its windows from outside, so that the program needs no hooks:
// the moment the X server maps a top-level window is read off the root window's events.
//
//   window_timer PROMPT_TITLE -- PROGRAM [ARGS...]
//       prompt_ms: from starting the program to its prompt window being mapped; then ends the program.
//   window_timer PROMPT_TITLE NAME FORM_TITLE -- PROGRAM [ARGS...]
//       also types NAME into the prompt (lower-case letters, digits and blanks), and gives form_ms, from the
//       Return key to the window FORM_TITLE being mapped, and the program's VmHWM and VmRSS (kB) once that window
//       has been shown for half a second.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "window_timer: %s\n", why.c_str());
    std::exit(2);
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

class Display {
public:
    Display() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_))
            fail("cannot connect to the X server");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        sync();
        netWmName_ = atom("_NET_WM_NAME");
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // Waits for a top-level window titled `title` to be mapped and returns it with the time its event was read.
    std::pair<xcb_window_t, Clock::time_point> waitForMap(const std::string& title, pid_t program) {
        const Clock::time_point deadline = Clock::now() + 60s;
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const Clock::time_point seen = Clock::now();
                std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
                if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                    continue;
                auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect && titleOf(map->window) == title)
                    return {map->window, seen};
            }
            if (xcb_connection_has_error(connection_))
                fail("lost the X server");
            if (int status; waitpid(program, &status, WNOHANG) == program)
                fail("the program ended before the window '" + title + "' appeared");
            if (Clock::now() > deadline)
                fail("no window '" + title + "' within a minute");
            pollfd wait{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&wait, 1, 100);
        }
    }

    void focus(xcb_window_t window) {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        sync();
    }

    void pressKey(uint32_t keysym) {
        const xcb_keycode_t code = keycodeOf(keysym);
        xcb_test_fake_input(connection_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(connection_, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection_);
    }

private:
    void sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_atom_t atom(const char* name) {
        ReplyPtr<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr),
            &std::free);
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    std::string titleOf(xcb_window_t window) {
        for (xcb_atom_t property : {netWmName_, static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME)}) {
            ReplyPtr<xcb_get_property_reply_t> reply(
                xcb_get_property_reply(
                    connection_, xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                    nullptr),
                &std::free);
            if (reply && xcb_get_property_value_length(reply.get()) > 0)
                return {static_cast<const char*>(xcb_get_property_value(reply.get())),
                        static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
        }
        return {};
    }

    xcb_keycode_t keycodeOf(uint32_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        ReplyPtr<xcb_get_keyboard_mapping_reply_t> reply(
            xcb_get_keyboard_mapping_reply(connection_,
                                           xcb_get_keyboard_mapping(connection_, setup->min_keycode, count), nullptr),
            &std::free);
        if (!reply)
            fail("cannot read the keyboard map");
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
        for (int code = 0; code < count; ++code)
            if (syms[code * reply->keysyms_per_keycode] == keysym)
                return static_cast<xcb_keycode_t>(setup->min_keycode + code);
        fail("no key for keysym " + std::to_string(keysym));
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t netWmName_;
};

pid_t start(char** argv) {
    pid_t pid;
    if (int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ); error != 0)
        fail(std::string("cannot start ") + argv[0] + ": " + std::strerror(error));
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status;
    waitpid(pid, &status, 0);
}

std::string memoryLine(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::to_string(std::strtol(line.c_str() + field.size() + 1, nullptr, 10));
    fail("no " + field + " for the program");
}

} // namespace

int main(int argc, char* argv[]) {
    int separator = 1;
    while (separator < argc && std::strcmp(argv[separator], "--") != 0)
        ++separator;
    if ((separator != 2 && separator != 4) || separator + 1 >= argc) {
        std::fprintf(stderr, "usage: window_timer PROMPT_TITLE [NAME FORM_TITLE] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string promptTitle = argv[1];
    Display display;

    const Clock::time_point launched = Clock::now();
    const pid_t program = start(argv + separator + 1);
    const auto [prompt, promptShown] = display.waitForMap(promptTitle, program);
    std::printf("prompt_ms=%.1f", millisecondsBetween(launched, promptShown));
    if (separator == 2) {
        std::printf("\n");
        stop(program);
        return 0;
    }

    // Typing is left out of the time: the prompt gets the focus and the name, and the program settles.
    display.focus(prompt);
    std::this_thread::sleep_for(300ms);
    for (const char* c = argv[2]; *c; ++c)
        display.pressKey(static_cast<unsigned char>(*c));
    std::this_thread::sleep_for(300ms);
    const Clock::time_point entered = Clock::now();
    display.pressKey(0xff0d); // Return
    const Clock::time_point formShown = display.waitForMap(argv[3], program).second;
    std::this_thread::sleep_for(500ms);
    std::printf(" form_ms=%.1f vmhwm_kb=%s vmrss_kb=%s\n", millisecondsBetween(entered, formShown),
                memoryLine(program, "VmHWM").c_str(), memoryLine(program, "VmRSS").c_str());
    stop(program);
    return 0;
}
