#pragma once
// What the answer window library catches at its boundaries goes to the debugger's output: the
// library has no log of its own, and the program's log would bring its settings and files into it.

#include <windows.h>

#include <string>

#include "foundation/log/CaughtException.h"

namespace browserwindow {

struct ReportToDebugger {
    // Only inside a catch block.
    void operator()(const char* where) const noexcept
    {
        try {
            ::OutputDebugStringA((std::string("VocabraVISTAHelper: ") + where + CaughtExceptionText() + "\n").c_str());
        } catch (...) {
            // Out of memory even for the line; nothing is left to tell.
        }
    }
};

}  // namespace browserwindow
