#include "dialogserver/server/TypeLibraryRegistration_win32.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "foundation/config/Environment.h"
#include "foundation/win32api/WideChar_win32.h"

using Microsoft::WRL::ComPtr;

namespace dialogserver {
namespace {
using RegisterForUser = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
using UnregisterForUser = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

// The program file, else the same path with its extension replaced by ".tlb".
HRESULT LoadOwnLibrary(ComPtr<ITypeLib>& library, std::wstring& path)
{
    // A path too long to be had whole is refused rather than cut.
    path = Win32::API::ToWide(GetModuleFilePath());
    if (path.empty())
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr))
        return hr;
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t slash = path.find_last_of(L'\\');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return hr;
    path.replace(dot, std::wstring::npos, L".tlb");
    return ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.ReleaseAndGetAddressOf());
}

FARPROC AutomationFunction(const char* name)
{
    const HMODULE automation = ::GetModuleHandleW(L"oleaut32.dll");
    return automation ? ::GetProcAddress(automation, name) : nullptr;
}
}  // namespace

HRESULT RegisterTypeLibrary(bool perUser)
{
    ComPtr<ITypeLib> library;
    std::wstring path;
    const HRESULT hr = LoadOwnLibrary(library, path);
    if (FAILED(hr))
        return hr;
    if (perUser) {
        if (const auto forUser = reinterpret_cast<RegisterForUser>(
                reinterpret_cast<void*>(AutomationFunction("RegisterTypeLibForUser"))))
            return forUser(library.Get(), path.data(), nullptr);
    }
    return ::RegisterTypeLib(library.Get(), path.data(), nullptr);
}

HRESULT UnregisterTypeLibrary(bool perUser)
{
    ComPtr<ITypeLib> library;
    std::wstring path;
    HRESULT hr = LoadOwnLibrary(library, path);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (FAILED(hr))
        return hr;
    const TLIBATTR described = *attributes;
    library->ReleaseTLibAttr(attributes);
    if (perUser) {
        if (const auto forUser = reinterpret_cast<UnregisterForUser>(
                reinterpret_cast<void*>(AutomationFunction("UnRegisterTypeLibForUser"))))
            return forUser(described.guid, described.wMajorVerNum, described.wMinorVerNum, described.lcid,
                           described.syskind);
    }
    return ::UnRegisterTypeLib(described.guid, described.wMajorVerNum, described.wMinorVerNum, described.lcid,
                               described.syskind);
}

}  // namespace dialogserver
