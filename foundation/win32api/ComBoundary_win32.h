#pragma once
// The body of a COM method: whatever it throws becomes the status code its caller expects (out
// of memory E_OUTOFMEMORY, anything else E_FAIL) and a line in the log, since an exception that
// crosses the method's boundary ends the process, or the caller's.

#include <windows.h>

#include <new>

#include "foundation/log/CaughtException.h"

namespace Win32::API {

template <class Body>
HRESULT ComBoundary(const char* where, Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        LogCaughtException(where);
        return E_OUTOFMEMORY;
    } catch (...) {
        LogCaughtException(where);
        return E_FAIL;
    }
}

}  // namespace Win32::API
