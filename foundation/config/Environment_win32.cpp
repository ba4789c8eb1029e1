// The program's file, language and system generation, from Win32.
#include <windows.h>

#include <versionhelpers.h>

#include "foundation/config/Environment.h"
#include "foundation/win32api/WideChar_win32.h"

// The module this code is linked into (an executable or a DLL); GetModuleHandle(nullptr) would
// always be the executable.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
// String resources come in blocks of 16: block n + 1 holds ids 16n .. 16n + 15.
constexpr unsigned kStringsPerBlock = 16;
constexpr unsigned kLargestStringId = 0xFFFF;
}  // namespace

std::u16string GetModuleFilePath()
{
    wchar_t path[kMaxPathLength + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(kMaxPathLength + 1));
    // A name that filled the whole buffer was cut short; a shortened path is worse than none.
    if (length == 0 || length >= kMaxPathLength + 1)
        return {};
    return Win32::API::FromWide(path, length);
}

UiLanguage GetUiLanguage()
{
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_RUSSIAN ? UiLanguage::Russian : UiLanguage::English;
}

// The language is chosen explicitly rather than through the thread's UI language, which Wine
// does not apply to resource loading.
std::u16string LoadResourceString(unsigned id, UiLanguage language)
{
    if (id > kLargestStringId)
        return {};
    const HMODULE module = reinterpret_cast<HMODULE>(&__ImageBase);
    const WORD languageId = language == UiLanguage::Russian ? MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA)
                                                            : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const HRSRC found = ::FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), languageId);
    if (!found)
        return {};
    const HGLOBAL loaded = ::LoadResource(module, found);
    const auto* block = loaded ? static_cast<const wchar_t*>(::LockResource(loaded)) : nullptr;
    if (!block)
        return {};

    // Each entry is a length in units followed by that many units; absent ids have length 0.
    const wchar_t* const end = block + ::SizeofResource(module, found) / sizeof(wchar_t);
    const wchar_t* entry = block;
    for (unsigned skip = id % kStringsPerBlock; skip > 0 && entry < end; --skip)
        entry += 1 + static_cast<std::size_t>(*entry);
    if (entry >= end)
        return {};
    const std::size_t length = *entry;
    if (length > static_cast<std::size_t>(end - entry - 1))
        return {};
    return Win32::API::FromWide(entry + 1, length);
}

bool IsVistaOrLater()
{
    static const bool vistaOrLater = ::IsWindowsVistaOrGreater();
    return vistaOrLater;
}
