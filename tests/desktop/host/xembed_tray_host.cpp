// vocabra_test_tray_host: the notification area that desktop tests bring to a bare X server (Xvfb
// has no panel, and Debian packages no standalone tray). Runs until SIGTERM, SIGINT or SIGHUP;
// what it reports is described in TrayHost.h.
#include <X11/Xlib.h>
#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "TerminationSignals.h"
#include "TrayHost.h"
#include "XErrorTrap.h"

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

// Xlib must not get control back after a lost connection; there is nothing left to clean up.
int ConnectionLost(Display*)
{
    std::fputs("tray host: lost the connection to the X server\n", stderr);
    std::_Exit(EXIT_FAILURE);
}

// EXIT_SUCCESS when a signal ended the host, EXIT_FAILURE when the tray was taken over.
int RunUntilTerminated(Display* display, TrayHost& host, const TerminationSignals& signals)
{
    pollfd sources[2] = {{ConnectionNumber(display), POLLIN, 0}, {signals.Descriptor(), POLLIN, 0}};
    for (;;) {
        // XPending also sends what is queued, so the poll never waits on our own unsent requests.
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (!host.HandleEvent(event))
                return EXIT_FAILURE;
        }
        if (poll(sources, 2, -1) < 0 && errno != EINTR) {
            std::perror("tray host: poll");
            return EXIT_FAILURE;
        }
        if (sources[1].revents & POLLIN)
            return EXIT_SUCCESS;
    }
}

}  // namespace

int main()
{
    const TerminationSignals signals;
    if (signals.Descriptor() < 0) {
        std::perror("tray host: signalfd");
        return EXIT_FAILURE;
    }
    const DisplayConnection display(XOpenDisplay(nullptr));
    if (!display) {
        std::fputs("tray host: cannot open the display (is DISPLAY set?)\n", stderr);
        return EXIT_FAILURE;
    }
    InstallRecordingErrorHandler();
    XSetIOErrorHandler(ConnectionLost);
    TrayHost host(display.get(), DefaultScreen(display.get()));
    if (!host.Start())
        return EXIT_FAILURE;
    return RunUntilTerminated(display.get(), host, signals);
}
