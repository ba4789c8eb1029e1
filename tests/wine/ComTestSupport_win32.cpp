#include "tests/wine/ComTestSupport_win32.h"

#include "translate/target/BrowserAutomation_win32.h"

#include "foundation/config/Environment.h"
#include "foundation/process/ProcessSnapshot.h"
#include "foundation/win32api/Handles.h"

#include <algorithm>
#include <cwchar>

namespace wintest {

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

HRESULT CreateRealInternetExplorer(Microsoft::WRL::ComPtr<IWebBrowser2>& browser)
{
    HRESULT result = translate::target::CreateInternetExplorer(browser);
    for (int attempt = 0; result == REGDB_E_CLASSNOTREG && attempt < 10; ++attempt) {
        PumpUntil([] { return false; }, std::chrono::milliseconds(500));
        result = translate::target::CreateInternetExplorer(browser);
    }
    return result;
}

RegisteredClass::RegisteredClass(const CLSID& clsid, IClassFactory* factory)
{
    EXPECT_HRESULT_SUCCEEDED(::CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                                     REGCLS_MULTIPLEUSE, &m_cookie));
}

RegisteredClass::~RegisteredClass()
{
    if (m_cookie)
        ::CoRevokeClassObject(m_cookie);
}

HiddenWindow::HiddenWindow()
{
    // A static control: its default handling turns SC_CLOSE into WM_CLOSE and destroys it.
    m_window = ::CreateWindowExW(0, L"STATIC", L"hidden browser window", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    EXPECT_NE(m_window, nullptr);
}

HiddenWindow::~HiddenWindow()
{
    if (::IsWindow(m_window))
        ::DestroyWindow(m_window);
}

bool HiddenWindow::ClosesSoon() const
{
    return PumpUntil([this] { return !::IsWindow(m_window); }, std::chrono::milliseconds(500));
}

std::vector<HWND> VisibleBrowserFrames()
{
    std::vector<HWND> frames;
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, L"IEFrame", nullptr)) != nullptr) {
        if (::IsWindowVisible(window))
            frames.push_back(window);
    }
    return frames;
}

bool CloseAndWait(HWND window)
{
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return PumpUntil([window] { return !::IsWindow(window); }, std::chrono::seconds(10));
}

bool RegisterTestDialogServer()
{
    const std::u16string server = GetModuleDirectory() + u"vocabra_test_dialog_server.exe";
    const std::u16string commandLine = u"\"" + server + u"\" /RegServer";
    Win32::API::ProcessEx process;
    std::uint32_t exitCode = 1;
    return process.Create(server.c_str(), commandLine.c_str()) && process.WaitForExit(30000, exitCode) && exitCode == 0;
}

bool TestDialogServerRunning()
{
    for (ProcessSnapshot snapshot; snapshot.Valid(); snapshot.Next()) {
        if (snapshot.ExeFile() == u"vocabra_test_dialog_server.exe")
            return true;
    }
    return false;
}

MessageDuringWait::MessageDuringWait()
{
    const HWND probe = m_window.Get();
    m_sender = std::thread([this, probe] {
        ::Sleep(2000);
        DWORD_PTR result = 0;
        m_answeredInTime = ::SendMessageTimeoutW(probe, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"answered"),
                                                 SMTO_BLOCK, 2000, &result) != 0;
    });
}

MessageDuringWait::~MessageDuringWait()
{
    if (m_sender.joinable())
        m_sender.join();
}

bool MessageDuringWait::Answered()
{
    if (m_sender.joinable())
        m_sender.join();
    wchar_t text[16] = {};
    ::GetWindowTextW(m_window.Get(), text, 16);
    return m_answeredInTime && std::wcscmp(text, L"answered") == 0;
}

}  // namespace wintest
