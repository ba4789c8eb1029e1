// VocabraHelper.exe as the tray program meets it: registered with its words ("RegServer": Wine
// reads no per-user class keys), started by COM for a ProgID, called by name in the system's
// default locale, and gone a few seconds after its last object. The program runs from a copy in a
// folder of the test's own, whose configuration points the information pages at a local server.
#include <windows.h>

#include <exdispid.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/process/ProcessSnapshot.h"
#include "foundation/text/Utf.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestSupport.h"
#include "tests/wine/ComTestSupport_win32.h"

using Microsoft::WRL::ComPtr;

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char16_t kServerFile[] = u"VocabraHelper.exe";
// How long the server waits without objects before it decides to end.
constexpr auto kIdleSpellOfTheServer = std::chrono::milliseconds(5000);

struct ServiceClass {
    const char16_t* progId;
    const char* page;  // the information page's path under the pages' base address
    const char16_t* clsid;
    const char16_t* description;
    bool hasAppIdValue;
};
const ServiceClass kClasses[] = {
    {u"Vocabra.Dialog.Babylon", "/pages/en/babylon.html", u"{7618F1BC-B0FB-43EF-946B-A2ECDA6C3E6F}",
     u"BabylonDictionaryDialog Class", true},
    {u"Vocabra.Dialog.Multilex", "/pages/en/multilex.html", u"{1A77D4B9-914B-4F7F-BE1E-E11B5698AFCB}",
     u"MultilexDictionaryDialog Class", true},
    {u"Vocabra.Dialog.Lingvo", "/pages/en/lingvo.html", u"{7CAB6454-0CA9-4937-B859-1E6699F2A802}",
     u"LingvoDictionaryDialog Class", true},
    {u"Vocabra.Dialog.Google", "/pages/en/google.html", u"{DBF3C903-615A-450B-9386-323DD977C532}",
     u"GoogleDictionaryDialog Class", false},
};
constexpr char16_t kAppId[] = u"{82EF3088-482D-4640-BD64-4961DC1C5CA6}";
constexpr char16_t kLibId[] = u"{4724DC76-E1D0-4FCA-A630-A7E701F68CFD}";

// A string value under HKEY_CLASSES_ROOT, read without creating anything.
std::optional<std::u16string> ClassesRootValue(const std::u16string& key, const char16_t* name = nullptr)
{
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, Win32::API::Wide(key), name ? Win32::API::Wide(name) : nullptr, RRF_RT_REG_SZ,
                       nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return Win32::API::FromWide(text);
}

bool ClassesRootKeyExists(const std::u16string& key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, Win32::API::Wide(key), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

// The processes of a program file name now running.
std::vector<std::uint32_t> ProcessesNamed(const std::u16string& file)
{
    std::vector<std::uint32_t> found;
    for (ProcessSnapshot snapshot; snapshot.Valid(); snapshot.Next()) {
        if (::lstrcmpiW(Win32::API::Wide(snapshot.ExeFile()), Win32::API::Wide(file)) == 0)
            found.push_back(snapshot.ProcessId());
    }
    return found;
}

std::vector<std::uint32_t> ServerProcesses()
{
    return ProcessesNamed(kServerFile);
}

// Asks Internet Explorer to close its windows and waits until it has ended: a killed one stays
// registered, and Wine refuses every later activation of it until the wineserver ends. The dialog
// objects go with the windows, and the server ends by itself. Only what is still there
// after that is killed: a killed server stays registered with COM for a while.
void EndServersAndBrowsers()
{
    Win32::API::ProcessEx closer;
    std::uint32_t exitCode = 0;
    if (closer.Create(u"C:\\windows\\system32\\taskkill.exe", u"taskkill.exe /im iexplore.exe"))
        closer.WaitForExit(30000, exitCode);
    wintest::PumpUntil([] { return ProcessesNamed(u"iexplore.exe").empty(); }, std::chrono::seconds(20));
    wintest::PumpUntil([] { return ServerProcesses().empty(); }, std::chrono::seconds(20));
    for (ProcessSnapshot snapshot; snapshot.Valid(); snapshot.Next()) {
        const std::u16string& name = snapshot.ExeFile();
        if (::lstrcmpiW(Win32::API::Wide(name), Win32::API::Wide(kServerFile)) != 0 &&
            ::lstrcmpiW(Win32::API::Wide(name), L"iexplore.exe") != 0)
            continue;
        const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, snapshot.ProcessId());
        if (process) {
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 10000);
            ::CloseHandle(process);
        }
    }
}

class DialogServerProgramTest : public wintest::ComTest {
protected:
    static void SetUpTestSuite()
    {
        s_folder = std::make_unique<testsupport::TempFolder>();
        const std::filesystem::path built =
            std::filesystem::path(Win32::API::ToWide(GetModuleDirectory())) / Win32::API::ToWide(kServerFile);
        std::error_code failed;
        std::filesystem::copy_file(built, s_folder->Path() / Win32::API::ToWide(kServerFile), failed);
        for (const char* language : {"en", "ru"})
            std::filesystem::create_directories(s_folder->Path() / "locale" / language);
    }
    static void TearDownTestSuite()
    {
        RunServer(u"/UnregServer");
        EndServersAndBrowsers();
        s_folder.reset();
    }
    void SetUp() override
    {
        ComTest::SetUp();
        ASSERT_TRUE(std::filesystem::exists(ServerPath())) << "VocabraHelper.exe is not beside the tests";
    }
    void TearDown() override
    {
        EndServersAndBrowsers();
        ComTest::TearDown();
    }

    static std::filesystem::path ServerPath() { return s_folder->Path() / Win32::API::ToWide(kServerFile); }

    // The server's exit code for a command line, or -1.
    static int RunServer(const std::u16string& arguments)
    {
        const std::u16string path = testsupport::ToU16(ServerPath());
        const std::u16string line = u"\"" + path + u"\" " + arguments;
        Win32::API::ProcessEx process;
        std::uint32_t exitCode = 0;
        if (!process.Create(path.c_str(), line.c_str()) || !process.WaitForExit(30000, exitCode))
            return -1;
        return static_cast<int>(exitCode);
    }

    // The pages of every language under `base`.
    static void PointPagesAt(const std::u16string& base)
    {
        for (const char* language : {"en", "ru"})
            testsupport::WriteFileBytes(s_folder->Path() / "locale" / language / "Configuration.properties",
                                        "dialog.pages.url=" + text::Utf16ToUtf8(base) + "\n");
    }

    static inline std::unique_ptr<testsupport::TempFolder> s_folder;
};

TEST_F(DialogServerProgramTest, RegistrationWritesTheClassesAndRemovalTakesThemAway)
{
    ASSERT_EQ(RunServer(u"-RegServer"), 0);
    const std::u16string quotedPath = u"\"" + testsupport::ToU16(ServerPath()) + u"\"";
    for (const ServiceClass& c : kClasses) {
        const std::u16string versioned = std::u16string(c.progId) + u".1";
        const std::u16string classKey = std::u16string(u"CLSID\\") + c.clsid;
        EXPECT_EQ(ClassesRootValue(versioned), std::u16string(c.description));
        EXPECT_EQ(ClassesRootValue(versioned + u"\\CLSID"), std::u16string(c.clsid));
        EXPECT_EQ(ClassesRootValue(c.progId), std::u16string(c.description));
        EXPECT_EQ(ClassesRootValue(std::u16string(c.progId) + u"\\CLSID"), std::u16string(c.clsid));
        EXPECT_EQ(ClassesRootValue(std::u16string(c.progId) + u"\\CurVer"), versioned);
        EXPECT_EQ(ClassesRootValue(classKey), std::u16string(c.description));
        EXPECT_EQ(ClassesRootValue(classKey + u"\\ProgID"), versioned);
        EXPECT_EQ(ClassesRootValue(classKey + u"\\VersionIndependentProgID"), std::u16string(c.progId));
        EXPECT_TRUE(ClassesRootKeyExists(classKey + u"\\Programmable"));
        EXPECT_EQ(ClassesRootValue(classKey + u"\\LocalServer32"), quotedPath);
        EXPECT_EQ(ClassesRootValue(classKey + u"\\TypeLib"), std::u16string(kLibId));
        if (c.hasAppIdValue)
            EXPECT_EQ(ClassesRootValue(classKey, u"AppID"), std::u16string(kAppId));
        else
            EXPECT_EQ(ClassesRootValue(classKey, u"AppID"), std::nullopt);
    }
    EXPECT_EQ(ClassesRootValue(std::u16string(u"AppID\\") + kAppId), std::u16string(u"VocabraHelper"));
    EXPECT_EQ(ClassesRootValue(u"AppID\\VocabraHelper.EXE", u"AppID"), std::u16string(kAppId));
    EXPECT_TRUE(ClassesRootKeyExists(std::u16string(u"TypeLib\\") + kLibId + u"\\1.0"));

    ASSERT_EQ(RunServer(u"/UNREGSERVER"), 0);
    for (const ServiceClass& c : kClasses) {
        EXPECT_FALSE(ClassesRootKeyExists(std::u16string(c.progId) + u".1"));
        EXPECT_FALSE(ClassesRootKeyExists(c.progId));
        EXPECT_FALSE(ClassesRootKeyExists(std::u16string(u"CLSID\\") + c.clsid));
    }
    EXPECT_FALSE(ClassesRootKeyExists(std::u16string(u"AppID\\") + kAppId));
    EXPECT_FALSE(ClassesRootKeyExists(u"AppID\\VocabraHelper.EXE"));
    EXPECT_FALSE(ClassesRootKeyExists(std::u16string(u"TypeLib\\") + kLibId + u"\\1.0"));
    EXPECT_TRUE(ClassesRootKeyExists(u"CLSID"));
    EXPECT_TRUE(ClassesRootKeyExists(u"AppID"));
}

// As the tray program calls a class: created by its ProgID in another process, then its methods
// by name in the system's default locale (0x800).
TEST_F(DialogServerProgramTest, EachClassShowsItsInformationPageInANewWindow)
{
    testsupport::LocalHttpServer pages(testsupport::HttpReply{});
    ASSERT_TRUE(pages.IsListening());
    PointPagesAt(pages.Url("/"));
    ASSERT_EQ(RunServer(u"/RegServer"), 0);

    for (const ServiceClass& c : kClasses) {
        CLSID clsid{};
        ASSERT_HRESULT_SUCCEEDED(::CLSIDFromProgID(Win32::API::Wide(c.progId), &clsid));
        const bool serverRunning = !ServerProcesses().empty();
        const auto asked = Clock::now();
        ComPtr<IDispatch> dialog;
        ASSERT_HRESULT_SUCCEEDED(
            ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(dialog.GetAddressOf())))
            << text::Utf16ToUtf8(c.progId);
        LPOLESTR name = const_cast<LPOLESTR>(L"ShowDictionaryDialog");
        DISPID id = 0;
        ASSERT_HRESULT_SUCCEEDED(dialog->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id));
        EXPECT_EQ(id, 1);
        const Win32::API::Variant url(std::u16string_view(u"http://dictionary.test/translate?text=word"));
        const Win32::API::Variant direction(std::u16string_view(u"en-ru"));
        Win32::API::Variant newWindow;
        VARIANT arguments[] = {newWindow.Value(), direction.Value(), url.Value()};  // last first
        DISPPARAMS parameters{arguments, nullptr, 3, 0};
        Win32::API::Variant result;
        EXPECT_HRESULT_SUCCEEDED(dialog->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &parameters,
                                                result.Receive(), nullptr, nullptr));
        EXPECT_TRUE(wintest::PumpUntil([&] { return pages.WaitForGet(c.page, 0ms); }, 30s)) << c.page;
        // A figure for the record, not a limit: it depends on the machine.
        std::printf("%s: from CoCreateInstance to the page's GET, server %s: %lld ms\n",
                    text::Utf16ToUtf8(c.progId).c_str(), serverRunning ? "running" : "not running",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count()));

        // The browser's DocumentComplete by name, and another of its events turned away.
        LPOLESTR complete = const_cast<LPOLESTR>(L"DocumentComplete");
        ASSERT_HRESULT_SUCCEEDED(dialog->GetIDsOfNames(IID_NULL, &complete, 1, LOCALE_SYSTEM_DEFAULT, &id));
        EXPECT_EQ(id, DISPID_DOCUMENTCOMPLETE);
        Win32::API::Variant blank(std::u16string_view(u"about:blank"));
        VARIANT event[2];
        ::VariantInit(&event[0]);
        event[0].vt = VT_VARIANT | VT_BYREF;
        event[0].pvarVal = &blank.Value();
        ::VariantInit(&event[1]);
        event[1].vt = VT_DISPATCH;
        event[1].pdispVal = nullptr;
        DISPPARAMS eventParameters{event, nullptr, 2, 0};
        EXPECT_EQ(dialog->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &eventParameters, nullptr,
                                 nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(dialog->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD,
                                 &eventParameters, nullptr, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);

        // Detached, the object lets the window go, and with the last one the server ends.
        LPOLESTR detach = const_cast<LPOLESTR>(L"Detach");
        ASSERT_HRESULT_SUCCEEDED(dialog->GetIDsOfNames(IID_NULL, &detach, 1, LOCALE_SYSTEM_DEFAULT, &id));
        DISPPARAMS none{};
        EXPECT_EQ(
            dialog->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            S_OK);
    }
    EXPECT_TRUE(wintest::PumpUntil([] { return ServerProcesses().empty(); }, std::chrono::seconds(15)))
        << "the detached objects should have let the server end";
}

// The server ends about 6 s (5 s of quiet and a 1 s pause) after its last object goes; a new
// object within that time keeps it.
TEST_F(DialogServerProgramTest, TheServerEndsSixSecondsAfterItsLastObject)
{
    ASSERT_EQ(RunServer(u"/RegServer"), 0);
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(::CLSIDFromProgID(L"Vocabra.Dialog.Lingvo", &clsid));
    const auto create = [&] {
        ComPtr<IDispatch> dialog;
        EXPECT_HRESULT_SUCCEEDED(
            ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(dialog.GetAddressOf())));
        return dialog;
    };

    ComPtr<IDispatch> dialog = create();
    const std::vector<std::uint32_t> running = ServerProcesses();
    ASSERT_EQ(running.size(), 1u);
    dialog.Reset();
    const auto released = Clock::now();
    std::this_thread::sleep_for(2s);
    dialog = create();  // within the quiet spell: the same server takes it
    EXPECT_EQ(ServerProcesses(), running);
    dialog.Reset();
    const auto releasedAgain = Clock::now();
    std::this_thread::sleep_for(4500ms);
    EXPECT_EQ(ServerProcesses(), running) << "ended too early after the second release";
    ASSERT_TRUE(wintest::PumpUntil([] { return ServerProcesses().empty(); }, 15s));
    const auto lived = Clock::now() - releasedAgain;
    EXPECT_GE(lived, 5500ms);
    EXPECT_LT(lived, 9s);
    EXPECT_GE(Clock::now() - released, 8s);
}

// Started by COM for a client that then gave up, or by hand: with no object ever asked for, the
// server still ends after the quiet spell and the pause.
TEST_F(DialogServerProgramTest, AServerNeverAskedForAnObjectEndsByItself)
{
    ASSERT_EQ(RunServer(u"/RegServer"), 0);
    const std::u16string path = testsupport::ToU16(ServerPath());
    Win32::API::ProcessEx server;
    ASSERT_TRUE(server.Create(path.c_str(), (u"\"" + path + u"\" -Embedding").c_str()));
    const auto started = Clock::now();
    std::uint32_t exitCode = 1;
    ASSERT_TRUE(server.WaitForExit(7000, exitCode)) << "still running 7 s after its start";
    EXPECT_GE(Clock::now() - started, 5s);
    EXPECT_EQ(exitCode, 0u);
}

// A client that took the class object just before the server decided to end asks for an object
// while the server is ending: it is served, and the server lives on for it.
TEST_F(DialogServerProgramTest, AnObjectAskedForWhileTheServerEndsIsServed)
{
    ASSERT_EQ(RunServer(u"/RegServer"), 0);
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(::CLSIDFromProgID(L"Vocabra.Dialog.Babylon", &clsid));
    ComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(
        ::CoGetClassObject(clsid, CLSCTX_LOCAL_SERVER, nullptr, IID_PPV_ARGS(factory.GetAddressOf())));
    ComPtr<IDispatch> dialog;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_PPV_ARGS(dialog.GetAddressOf())));
    const std::vector<std::uint32_t> running = ServerProcesses();
    ASSERT_EQ(running.size(), 1u);
    dialog.Reset();
    // Past the quiet spell, within the pause that follows the decision to end.
    std::this_thread::sleep_for(kIdleSpellOfTheServer + 400ms);
    ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_PPV_ARGS(dialog.GetAddressOf())));
    UINT count = 0;
    EXPECT_HRESULT_SUCCEEDED(dialog->GetTypeInfoCount(&count));
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(ServerProcesses(), running) << "the server ended under an object it served";
    EXPECT_HRESULT_SUCCEEDED(dialog->GetTypeInfoCount(&count));
    dialog.Reset();
    factory.Reset();
    EXPECT_TRUE(wintest::PumpUntil([] { return ServerProcesses().empty(); }, 15s));
}

}  // namespace
