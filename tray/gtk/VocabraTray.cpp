// vocabra-tray: the Linux desktop program. One copy per user and session, kept by the session
// bus: a second start hands its arguments to the first copy, which shows its dialog (or exits for
// "--exit", or translates the clipboard for "--translate-clipboard"), and ends with 0.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "tray/AutostartEntry.h"
#include "tray/DesktopSwitches.h"
#include "tray/gtk/CallbackFailureLog.h"
#include "tray/gtk/GObjectPtr.h"
#include "tray/gtk/MainWindow.h"

namespace {
using tray::gtk::MainWindow;

constexpr char kApplicationId[] = "com.corvane.Vocabra";
constexpr gulong kRegisterPause = 200000;  // microseconds between tries to register
constexpr char kUsage[] =
    "usage: vocabra-tray [--visible | --exit | --install | --translate-clipboard]\n"
    "  --visible              show the main dialog at start (or the running copy's)\n"
    "  --exit                 ask the running copy to exit\n"
    "  --install              start with the session from now on (XDG autostart), and start now\n"
    "  --translate-clipboard  translate the clipboard's text now (in the running copy, or in the\n"
    "                         copy this starts); for a desktop shortcut where the hot keys cannot work\n";

struct Program {
    std::unique_ptr<MainWindow> window;
    bool setGlOff = false;  // GDK_GL was set here, not by the user
};

// The autostart entry for this program file, written whole or not at all; then a fresh copy.
int Install()
{
    const std::string executable = text::Utf16ToUtf8(GetModuleFilePath());
    const std::string folder = tray::AutostartFolder(g_getenv("XDG_CONFIG_HOME"), g_get_home_dir());
    if (executable.empty() || folder.empty() || g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
        std::fputs("vocabra-tray: cannot make the autostart folder\n", stderr);
        return 1;
    }
    const std::string entry = tray::AutostartEntryText(executable);
    const std::string path = folder + "/" + tray::kAutostartFileName;
    if (!g_file_set_contents(path.c_str(), entry.c_str(), static_cast<gssize>(entry.size()), nullptr)) {
        std::fprintf(stderr, "vocabra-tray: cannot write %s\n", path.c_str());
        return 1;
    }
    std::string program = executable;
    char* argv[] = {program.data(), nullptr};
    g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr);
    return 0;
}

gboolean OnTerminate(gpointer data)
{
    glib::GuardCallback("the end of the session", [data] {
        auto* program = static_cast<Program*>(data);
        if (program->window)
            program->window->Exit();
    });
    return G_SOURCE_CONTINUE;
}

void OnStartup(GApplication* application, gpointer data)
{
    glib::GuardCallback("starting", [application, data] {
        auto* program = static_cast<Program*>(data);
        // GTK has read it by now; the programs this one starts (a browser) get the user's own setting.
        if (program->setGlOff)
            g_unsetenv("GDK_GL");
        program->window = std::make_unique<MainWindow>(GTK_APPLICATION(application));
        // Held only once there is a window, whose Exit ends the application: a program that failed
        // to start ends instead of running on with nothing to show.
        g_application_hold(application);
        g_unix_signal_add(SIGTERM, &OnTerminate, program);
        g_unix_signal_add(SIGINT, &OnTerminate, program);
    });
}

int OnCommandLine(GApplication*, GApplicationCommandLine* commandLine, gpointer data)
{
    constexpr int kFailed = 1;
    return glib::GuardCallback(
        "the command line",
        [commandLine, data] {
            auto* program = static_cast<Program*>(data);
            gint count = 0;
            gchar** arguments = g_application_command_line_get_arguments(commandLine, &count);
            std::vector<std::string> list(arguments + (count > 0 ? 1 : 0), arguments + count);
            g_strfreev(arguments);
            const tray::DesktopArguments parsed = tray::ParseDesktopArguments(list);
            const bool remote = g_application_command_line_get_is_remote(commandLine);
            if (!program->window)
                return kFailed;  // the start failed
            if (parsed.switches.exit) {
                program->window->Exit();
                return 0;
            }
            // A second start that asks for a translation wants the answer, not the dialog.
            if (parsed.switches.visible || (remote && !parsed.translateClipboard))
                program->window->Present();
            if (parsed.translateClipboard)
                program->window->TranslateClipboard();
            return 0;
        },
        kFailed);
}

// Registering on the session bus fails when the bus refuses the name or the copy that holds it
// ends before it answers (it was asked to exit as this one started). std::nullopt then, with why.
std::optional<int> Run(GApplicationFlags flags, int argc, char** argv, bool setGlOff, std::string& whyNot)
{
    Program program;
    program.setGlOff = setGlOff;
    tray::gtk::GObjectPtr<GtkApplication> application(gtk_application_new(kApplicationId, flags));
    g_signal_connect(application.get(), "startup", G_CALLBACK(OnStartup), &program);
    g_signal_connect(application.get(), "command-line", G_CALLBACK(OnCommandLine), &program);
    GError* error = nullptr;
    if (!g_application_register(G_APPLICATION(application.get()), nullptr, &error)) {
        whyNot = error ? error->message : "unknown";
        g_clear_error(&error);
        return std::nullopt;
    }
    const int status = g_application_run(G_APPLICATION(application.get()), argc, argv);
    program.window.reset();
    return status;
}
}  // namespace

int main(int argc, char** argv)
{
    const tray::DesktopArguments arguments =
        tray::ParseDesktopArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments.unknown.empty()) {
        std::fprintf(stderr, "vocabra-tray: unknown argument %s\n%s", arguments.unknown.front().c_str(), kUsage);
        return 2;
    }
    if (arguments.switches.install)
        return Install();
    tray::gtk::LogAnswerWindowWarnings();
    // The tray draws nothing with OpenGL, but GDK's probe for it on X11 loads the whole GL driver
    // (tens of megabytes resident for as long as the tray runs). WebKit opens its own display for
    // the first answer, whatever GDK does.
    const bool setGlOff = !g_getenv("GDK_GL") && g_setenv("GDK_GL", "disable", FALSE);

    // A copy that was ending when this one asked is gone on the next try: this one becomes the
    // copy, or hands its arguments to the copy that did. Running beside it would leave a copy that
    // no later start can reach (nor end with --exit).
    constexpr int kRegisterTries = 3;
    std::string whyNot;
    for (int attempt = 1; attempt <= kRegisterTries; ++attempt) {
        if (const std::optional<int> status = Run(G_APPLICATION_HANDLES_COMMAND_LINE, argc, argv, setGlOff, whyNot))
            return *status;
        if (attempt < kRegisterTries)
            g_usleep(kRegisterPause);
    }
    // A session bus that will not have this program is no reason to run without it: as on Windows
    // when the marker fails, it runs without the one-copy check.
    std::fprintf(stderr, "vocabra-tray: the session bus refused the program (%s); running without the one-copy check\n",
                 whyNot.c_str());
    return Run(static_cast<GApplicationFlags>(G_APPLICATION_HANDLES_COMMAND_LINE | G_APPLICATION_NON_UNIQUE), argc,
               argv, setGlOff, whyNot)
        .value_or(1);
}
