// Runs GlobalShortcutPortal in a GLib main loop for the portal tests and says, one line each, what
// it reports:
//   bus <unique name> (first, when there is a session bus), state pending | state bound <trigger
//   description> | state unavailable, activated [token <activation token>], destroyed (after
//   "destroy"), sync <n> (on the test's Sync signal).
// Usage: portal_driver DESCRIPTION TRIGGER [--destroy-after-start] [--no-sync] [--throwing-callbacks]
// Standard input takes "destroy" (the client goes, the loop runs on) and "quit".
// --no-sync: the driver keeps no connection of its own, so the client's is the only reference to
// the shared session bus connection, as in a program that uses the bus nowhere else.
// --throwing-callbacks: the program's callbacks throw after their line (every activation, every
// state the portal's answers bring), as a program's handler may; the client must go on.
//
// The Sync signal (interface org.vocabra.test.PortalDriver) arrives on the same connection as the
// portal's signals, after everything the test sent before it: when "sync" is printed, the client
// has seen all of that.

#include <gio/gio.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "tray/gtk/GlobalShortcutPortal.h"

namespace {
using tray::gtk::GlobalShortcutPortal;
using tray::gtk::PortalShortcutState;

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct MainLoopUnref {
    void operator()(GMainLoop* loop) const { g_main_loop_unref(loop); }
};
struct ChannelUnref {
    void operator()(GIOChannel* channel) const { g_io_channel_unref(channel); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

void Say(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class Driver {
public:
    Driver() : m_loop(g_main_loop_new(nullptr, FALSE)) {}
    ~Driver()
    {
        if (m_inputWatch != 0)
            g_source_remove(m_inputWatch);
        if (m_syncSubscription != 0)
            g_dbus_connection_signal_unsubscribe(m_bus.get(), m_syncSubscription);
    }

    struct Options {
        bool destroyAfterStart = false;
        bool sync = true;
        bool throwing = false;
    };

    int Run(const std::string& description, const std::string& trigger, const Options& options)
    {
        if (options.sync)
            ListenForSync();
        ListenForCommands();

        const bool throwing = options.throwing;
        m_portal = std::make_unique<GlobalShortcutPortal>([throwing](const std::string& activationToken) {
            Say(activationToken.empty() ? "activated" : "activated token " + activationToken);
            if (throwing)
                throw std::runtime_error("the test's activation handler fails");
        });
        m_portal->SetChangedCallback([this, throwing] {
            SayState();
            // Pending is reported from Start() itself, which is no callback of GLib's.
            if (throwing && m_portal->State() != PortalShortcutState::Pending)
                throw std::runtime_error("the test's change handler fails");
        });
        m_portal->Start(description, trigger);
        if (options.destroyAfterStart)
            Destroy();

        g_main_loop_run(m_loop.get());
        m_portal.reset();
        return 0;
    }

private:
    void SayState()
    {
        switch (m_portal->State()) {
            case PortalShortcutState::Unavailable:
                Say("state unavailable");
                break;
            case PortalShortcutState::Pending:
                Say("state pending");
                break;
            case PortalShortcutState::Bound:
                Say("state bound " + m_portal->TriggerDescription());
                break;
        }
    }

    void Destroy()
    {
        m_portal.reset();
        Say("destroyed");
    }

    void ListenForSync()
    {
        GError* error = nullptr;
        m_bus.reset(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
        if (!m_bus) {
            g_error_free(error);  // the test without a bus expects none
            return;
        }
        Say(std::string("bus ") + g_dbus_connection_get_unique_name(m_bus.get()));
        m_syncSubscription = g_dbus_connection_signal_subscribe(
            m_bus.get(), nullptr, "org.vocabra.test.PortalDriver", "Sync", nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
               gpointer) {
                guint32 number = 0;
                if (g_variant_is_of_type(parameters, G_VARIANT_TYPE("(u)")))
                    g_variant_get(parameters, "(u)", &number);
                Say("sync " + std::to_string(number));
            },
            nullptr, nullptr);
    }

    void ListenForCommands()
    {
        m_input.reset(g_io_channel_unix_new(0));
        g_io_channel_set_encoding(m_input.get(), nullptr, nullptr);
        m_inputWatch =
            g_io_add_watch(m_input.get(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP), &Driver::OnInput, this);
    }

    static gboolean OnInput(GIOChannel* channel, GIOCondition, gpointer self)
    {
        auto* driver = static_cast<Driver*>(self);
        // Several commands may arrive in one read; take every line the channel holds.
        do {
            gchar* rawLine = nullptr;
            const GIOStatus status = g_io_channel_read_line(channel, &rawLine, nullptr, nullptr, nullptr);
            std::unique_ptr<gchar, GFree> line(rawLine);
            if (status == G_IO_STATUS_AGAIN)
                break;
            if (status != G_IO_STATUS_NORMAL) {
                g_main_loop_quit(driver->m_loop.get());
                driver->m_inputWatch = 0;
                return G_SOURCE_REMOVE;
            }
            const std::string command = g_strstrip(line.get());
            if (command == "destroy")
                driver->Destroy();
            else if (command == "quit")
                g_main_loop_quit(driver->m_loop.get());
        } while (g_io_channel_get_buffer_condition(channel) & G_IO_IN);
        return G_SOURCE_CONTINUE;
    }

    std::unique_ptr<GMainLoop, MainLoopUnref> m_loop;
    std::unique_ptr<GDBusConnection, GObjectUnref> m_bus;
    std::unique_ptr<GIOChannel, ChannelUnref> m_input;
    guint m_syncSubscription = 0;
    guint m_inputWatch = 0;
    std::unique_ptr<GlobalShortcutPortal> m_portal;
};

}  // namespace

int main(int argc, char** argv)
{
    Driver::Options options;
    bool usable = argc >= 3;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--destroy-after-start") == 0)
            options.destroyAfterStart = true;
        else if (std::strcmp(argv[i], "--no-sync") == 0)
            options.sync = false;
        else if (std::strcmp(argv[i], "--throwing-callbacks") == 0)
            options.throwing = true;
        else
            usable = false;
    }
    if (!usable) {
        std::fputs(
            "usage: portal_driver DESCRIPTION TRIGGER [--destroy-after-start] [--no-sync] [--throwing-callbacks]\n",
            stderr);
        return 2;
    }
    // Standard output carries the report alone; GLib would print debug messages there too.
    g_log_writer_default_set_use_stderr(TRUE);
    Driver driver;
    return driver.Run(argv[1], argv[2], options);
}
