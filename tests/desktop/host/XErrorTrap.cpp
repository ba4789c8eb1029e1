#include "XErrorTrap.h"

namespace {

// Xlib calls the handler from inside XSync on this single thread, so a plain flag suffices.
bool g_errorSeen = false;

int RecordError(Display*, XErrorEvent*)
{
    g_errorSeen = true;
    return 0;
}

}  // namespace

void InstallRecordingErrorHandler()
{
    XSetErrorHandler(RecordError);
}

XErrorTrap::XErrorTrap(Display* display) : m_display(display)
{
    XSync(m_display, False);
    g_errorSeen = false;
}

bool XErrorTrap::Failed()
{
    XSync(m_display, False);
    const bool failed = g_errorSeen;
    g_errorSeen = false;
    return failed;
}
