#pragma once
// The body of a COM method: whatever it throws becomes the status code its caller expects (out
// of memory E_OUTOFMEMORY, anything else E_FAIL) and a line in the log, since an exception that
// crosses the method's boundary ends the process, or the caller's.

#include <windows.h>

#include <new>

#include "foundation/log/CaughtException.h"

namespace Win32::API {

// Where the caught exception is told: the process's boundary log.
struct LogToBoundaryLog {
    void operator()(const char* where) const noexcept { LogCaughtException(where); }
};

// `report` is called inside the catch block with `where`; a module without the log (the answer
// window library) gives one of its own, and the log's code then stays out of that module.
template <class Body, class Report = LogToBoundaryLog>
HRESULT ComBoundary(const char* where, Body&& body, Report report = {}) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        report(where);
        return E_OUTOFMEMORY;
    } catch (...) {
        report(where);
        return E_FAIL;
    }
}

}  // namespace Win32::API
