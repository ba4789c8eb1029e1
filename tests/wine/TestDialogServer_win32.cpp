// A local COM server of the two test dialog classes. "/RegServer" and "/UnregServer" write and
// remove their class keys under HKEY_CLASSES_ROOT (Wine reads no per-user class keys); started
// by COM (with -Embedding) it serves until it has had no object for a few seconds.

#include <windows.h>

#include <objbase.h>

#include <string>

#include "tests/wine/TestDialogClasses_win32.h"

namespace {
constexpr DWORD kIdleQuitMs = 3000;

struct ServedClass {
    const CLSID& clsid;
    const wchar_t* description;
};
const ServedClass kClasses[] = {
    {testdialogs::kVtableDialogClsid, L"Vocabra test dialog with IDictionaryDialog"},
    {testdialogs::kDispatchDialogClsid, L"Vocabra test dialog by name only"},
};

std::wstring ClassKey(const CLSID& clsid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

LSTATUS SetDefaultValue(const std::wstring& key, const std::wstring& value)
{
    return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

int Register()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    for (const ServedClass& served : kClasses) {
        const std::wstring key = ClassKey(served.clsid);
        if (SetDefaultValue(key, served.description) != ERROR_SUCCESS ||
            SetDefaultValue(key + L"\\LocalServer32", std::wstring(L"\"") + path + L"\"") != ERROR_SUCCESS)
            return 1;
    }
    return 0;
}

int Unregister()
{
    for (const ServedClass& served : kClasses)
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(served.clsid).c_str());
    return 0;
}

int Serve()
{
    if (FAILED(::CoInitialize(nullptr)))
        return 1;
    DWORD cookies[2] = {};
    int index = 0;
    for (const ServedClass& served : kClasses) {
        ::CoRegisterClassObject(served.clsid, testdialogs::MakeClassObject(served.clsid).Get(), CLSCTX_LOCAL_SERVER,
                                REGCLS_MULTIPLEUSE, &cookies[index++]);
    }

    // COM's calls arrive through this loop; the timer checks for idleness.
    ::SetTimer(nullptr, 0, 200, nullptr);
    DWORD idleSince = ::GetTickCount();
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            if (testdialogs::LiveObjects() > 0)
                idleSince = ::GetTickCount();
            else if (::GetTickCount() - idleSince > kIdleQuitMs)
                break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }

    for (DWORD cookie : cookies) {
        if (cookie)
            ::CoRevokeClassObject(cookie);
    }
    ::CoUninitialize();
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        if (*word != '/' && *word != '-')
            continue;
        if (::lstrcmpiA(word + 1, "RegServer") == 0)
            return Register();
        if (::lstrcmpiA(word + 1, "UnregServer") == 0)
            return Unregister();
    }
    return Serve();
}
