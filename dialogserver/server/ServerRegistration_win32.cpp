#include "dialogserver/server/ServerRegistration_win32.h"

#include <objbase.h>

#include <string>
#include <vector>

#include "dialogserver/registrar/ApplyOperations_win32.h"
#include "dialogserver/registrar/PlanScript.h"
#include "dialogserver/server/DialogClasses_win32.h"
#include "dialogserver/server/TypeLibraryRegistration_win32.h"
#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "foundation/win32api/WideChar_win32.h"

namespace dialogserver {
namespace {
// The classes' scripts in the order they are run.
constexpr unsigned kClassScripts[] = {102, 105, 104, 103};

std::u16string ScriptText(unsigned id)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return std::u16string();
    return text::Utf8ToUtf16(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(module, found)));
}

std::u16string AppIdText()
{
    wchar_t text[40] = {};
    ::StringFromGUID2(kServerAppId, text, 40);
    return Win32::API::FromWide(text);
}

// Plans the whole script before the registry is touched, so that a damaged one writes nothing.
HRESULT RunScript(unsigned id, bool registering, bool perUser)
{
    registrar::Replacements replacements;
    // A path too long to be had whole is refused rather than cut.
    replacements.module = GetModuleFilePath();
    if (replacements.module.empty())
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    replacements.appId = AppIdText();
    const std::u16string script = ScriptText(id);
    if (script.empty())
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    std::vector<registrar::Operation> operations;
    const HRESULT hr = registrar::PlanScript(script, replacements, registering, perUser, operations);
    if (FAILED(hr))
        return hr;
    return registrar::ApplyOperations(operations);
}

HRESULT Register(bool perUser)
{
    HRESULT hr = RunScript(kAppIdRegistryScript, true, perUser);
    for (const unsigned script : kClassScripts) {
        if (FAILED(hr))
            return hr;
        hr = RunScript(script, true, perUser);
    }
    return FAILED(hr) ? hr : RegisterTypeLibrary(perUser);
}

HRESULT Unregister(bool perUser)
{
    HRESULT hr = S_OK;
    for (const unsigned script : kClassScripts) {
        hr = RunScript(script, false, perUser);
        if (FAILED(hr))
            return hr;
    }
    // A library that was never registered is nothing to remove.
    hr = UnregisterTypeLibrary(perUser);
    if (FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_LIBNOTREGISTERED)
        return hr;
    return RunScript(kAppIdRegistryScript, false, perUser);
}
}  // namespace

HRESULT RunRegistration(ServerCommand command)
{
    switch (command) {
        case ServerCommand::RegServer:
            return Register(false);
        case ServerCommand::RegServerPerUser:
            return Register(true);
        case ServerCommand::UnregServer:
            return Unregister(false);
        case ServerCommand::UnregServerPerUser:
            return Unregister(true);
        case ServerCommand::RunServer:
            break;
    }
    return S_OK;
}

}  // namespace dialogserver
