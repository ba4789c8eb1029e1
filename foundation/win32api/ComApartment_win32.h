#pragma once
// COM on the calling thread for the life of the object, in the apartment model asked for
// (COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED). CoUninitialize follows only a successful
// CoInitializeEx; "already initialised" (S_FALSE) counts as success and is balanced too.

#include <objbase.h>

namespace Win32::API {

class ComApartment {
public:
    explicit ComApartment(DWORD model) : m_entered(SUCCEEDED(::CoInitializeEx(nullptr, model))) {}
    ~ComApartment()
    {
        if (m_entered)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_entered;
};

}  // namespace Win32::API
