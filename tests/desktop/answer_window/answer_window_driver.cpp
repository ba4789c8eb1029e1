// Drives libvocabra-answer-window.so the way the desktop program does: loads it on the first
// window, creates windows and shows answers in them, and reports what the library calls back.
// It links GTK only; everything of the library comes through dlopen.
//
// usage: answer_window_driver <library>
// Commands, one a line on standard input; replies and events, one a line on standard output:
//   create <name> <dispose|keep> <icon file or ->  created <name> | failed <name>
//       dispose: the window is disposed of inside its closed callback; keep: only by "dispose"
//   remember <name> <dispose|keep> <icon file or -> <zoom> <width> <height>
//       the same through the export that takes what the program keeps of the service's windows
//   show <name> <width> <height> <url>  shown <name> <CLOCK_MONOTONIC seconds just before ShowUrl>
//   dispose <name>                      disposed <name>
//   toplevels                           toplevels <GTK top-level windows of the process, shown or not>
//   rss                                 rss <VmRSS of the process in kB>
//   dark                                dark <GTK's gtk-application-prefer-dark-theme, 0 or 1>
//   quit                                (disposes of the windows still open and ends)
// Events: closed <name> from the callback (closed-after-dispose <name> if it ever came late),
// followed by disposed <name> for a "dispose" window; changed <name> <zoom> <width> <height> when a
// window of "remember" reports what the user changed.

#include <dlfcn.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "translate/target/AnswerWindow.h"

namespace {
using translate::target::AnswerWindowMemory;
using translate::target::CreateAnswerWindowFunction;
using translate::target::CreateRememberingAnswerWindowFunction;
using translate::target::DisplaySettings;
using translate::target::RequestDisplayTarget;

struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};

struct Window {
    std::string name;
    bool disposeOnClose = false;
    RequestDisplayTarget* target = nullptr;  // none once disposed of
};

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::u16string Utf16(const std::string& utf8)
{
    glong length = 0;
    const std::unique_ptr<gunichar2, GFree> converted(g_utf8_to_utf16(utf8.c_str(), -1, nullptr, &length, nullptr));
    if (!converted)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(converted.get()), static_cast<std::size_t>(length));
}

std::string ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            std::string kilobytes;
            fields >> kilobytes;
            return kilobytes;
        }
    }
    return "unknown";
}

// Windows of the process, shown or not; the web view's tooltip window is no top-level window.
int ToplevelCount()
{
    GList* toplevels = gtk_window_list_toplevels();
    int count = 0;
    for (GList* item = toplevels; item; item = item->next) {
        if (gtk_window_get_window_type(GTK_WINDOW(item->data)) == GTK_WINDOW_TOPLEVEL)
            ++count;
    }
    g_list_free(toplevels);
    return count;
}

class Driver {
public:
    explicit Driver(std::string libraryPath) : m_libraryPath(std::move(libraryPath)) {}

    // Like the desktop program when it quits: every window still open is ended.
    ~Driver()
    {
        for (auto& [name, window] : m_windows) {
            if (window->target)
                Dispose(*window);
        }
    }

    // False: the driver is done.
    bool Run(const std::string& line)
    {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "create") {
            std::string name, onClose, icon;
            words >> name >> onClose >> icon;
            Create(name, onClose == "dispose", icon == "-" ? std::string() : icon, nullptr);
        } else if (command == "remember") {
            std::string name, onClose, icon;
            AnswerWindowMemory remembered{sizeof(AnswerWindowMemory), 0, 0, 0};
            words >> name >> onClose >> icon >> remembered.zoomPercent >> remembered.width >> remembered.height;
            Create(name, onClose == "dispose", icon == "-" ? std::string() : icon, &remembered);
        } else if (command == "dark") {
            gboolean dark = FALSE;
            g_object_get(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", &dark, nullptr);
            Say(std::string("dark ") + (dark ? "1" : "0"));
        } else if (command == "show") {
            std::string name, url;
            DisplaySettings display;
            display.displayType = u"popup";
            words >> name >> display.width >> display.height >> url;
            Show(name, url, display);
        } else if (command == "dispose") {
            std::string name;
            words >> name;
            Dispose(*m_windows.at(name));
        } else if (command == "toplevels") {
            Say("toplevels " + std::to_string(ToplevelCount()));
        } else if (command == "rss") {
            Say("rss " + ResidentKilobytes());
        } else if (command == "quit") {
            return false;
        } else {
            Say("unknown " + command);
        }
        return true;
    }

private:
    // Loaded with the first window and never unloaded, as the desktop program does: the web
    // engine's types stay registered with GLib for the life of the process.
    void* Export(const char* name)
    {
        if (!m_library) {
            m_library = dlopen(m_libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!m_library) {
                Say(std::string("cannot load the library: ") + dlerror());
                return nullptr;
            }
        }
        return dlsym(m_library, name);
    }

    // `remembered`: through the second export, with what the program keeps; null: the first.
    void Create(const std::string& name,
                bool disposeOnClose,
                const std::string& icon,
                const AnswerWindowMemory* remembered)
    {
        auto window = std::make_unique<Window>();
        window->name = name;
        window->disposeOnClose = disposeOnClose;
        if (remembered) {
            const auto create = reinterpret_cast<CreateRememberingAnswerWindowFunction>(
                Export(translate::target::kCreateRememberingAnswerWindowExport));
            window->target = create
                                 ? create(icon.c_str(), remembered, &Driver::OnClosed, &Driver::OnChanged, window.get())
                                 : nullptr;
        } else {
            const auto create =
                reinterpret_cast<CreateAnswerWindowFunction>(Export(translate::target::kCreateAnswerWindowExport));
            window->target = create ? create(icon.c_str(), &Driver::OnClosed, window.get()) : nullptr;
        }
        Say((window->target ? "created " : "failed ") + name);
        m_windows[name] = std::move(window);
    }

    void Show(const std::string& name, const std::string& url, const DisplaySettings& display)
    {
        Window& window = *m_windows.at(name);
        const std::u16string address = Utf16(url);
        const double before = static_cast<double>(g_get_monotonic_time()) / G_USEC_PER_SEC;
        window.target->ShowUrl(address, u"en-ru", display);
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.6f", before);
        Say("shown " + name + " " + seconds);
    }

    static void Dispose(Window& window)
    {
        window.target->Dispose();
        window.target = nullptr;
        Say("disposed " + window.name);
    }

    static void OnClosed(RequestDisplayTarget* target, void* context)
    {
        Window& window = *static_cast<Window*>(context);
        if (target != window.target) {
            Say("closed-after-dispose " + window.name);
            return;
        }
        Say("closed " + window.name);
        if (window.disposeOnClose)
            Dispose(window);
    }

    static void OnChanged(RequestDisplayTarget*, void* context, const AnswerWindowMemory* changed)
    {
        const Window& window = *static_cast<Window*>(context);
        Say("changed " + window.name + " " + std::to_string(changed->zoomPercent) + " " +
            std::to_string(changed->width) + " " + std::to_string(changed->height));
    }

    std::string m_libraryPath;
    void* m_library = nullptr;
    std::map<std::string, std::unique_ptr<Window>> m_windows;  // kept after disposal, for late callbacks
};

struct ChannelUnref {
    void operator()(GIOChannel* channel) const { g_io_channel_unref(channel); }
};

struct Session {
    Driver driver;
    GMainLoop* loop;
};

gboolean OnInput(GIOChannel* input, GIOCondition, gpointer data)
{
    Session& session = *static_cast<Session*>(data);
    gchar* raw = nullptr;
    const GIOStatus status = g_io_channel_read_line(input, &raw, nullptr, nullptr, nullptr);
    const std::unique_ptr<gchar, GFree> line(raw);
    if (status == G_IO_STATUS_AGAIN)
        return G_SOURCE_CONTINUE;
    if (status != G_IO_STATUS_NORMAL || !session.driver.Run(g_strchomp(line.get()))) {
        g_main_loop_quit(session.loop);
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}
}  // namespace

int main(int argc, char** argv)
{
    gtk_init(&argc, &argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <libvocabra-answer-window.so>\n", argv[0]);
        return 2;
    }
    const std::unique_ptr<GMainLoop, decltype(&g_main_loop_unref)> loop(g_main_loop_new(nullptr, FALSE),
                                                                        &g_main_loop_unref);
    Session session{Driver(argv[1]), loop.get()};
    const std::unique_ptr<GIOChannel, ChannelUnref> input(g_io_channel_unix_new(0));
    g_io_add_watch(input.get(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), OnInput, &session);
    Say("ready");
    g_main_loop_run(loop.get());
    return 0;
}
