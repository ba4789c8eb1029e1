#pragma once
// What the Windows display tests share: a COM apartment per test, message pumping with a time
// limit, class objects registered in this process, and windows observed from outside.

#include <windows.h>

#include <exdisp.h>

#include <wrl/client.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace wintest {

// A single-threaded apartment, as on the tray program's user-interface thread.
class ComTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(::CoInitialize(nullptr)); }
    void TearDown() override { ::CoUninitialize(); }
};

// Dispatches this thread's messages until `done` holds or `timeout` has passed; `done`'s last value.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// A class object registered in this process: activations from here reach it before the registry.
class RegisteredClass {
public:
    RegisteredClass(const CLSID& clsid, IClassFactory* factory);
    ~RegisteredClass();
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;

private:
    DWORD m_cookie = 0;
};

// A hidden top-level window of this thread that closes itself on SC_CLOSE, destroyed at the end.
class HiddenWindow {
public:
    HiddenWindow();
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    HWND Get() const { return m_window; }
    // Whether the window is closed within a short wait (messages pumped meanwhile).
    bool ClosesSoon() const;

private:
    HWND m_window = nullptr;
};

// A message sent from another thread, two seconds from now, to a window of this thread, as the
// keyboard hook's calls arrive while the thread waits for something.
class MessageDuringWait {
public:
    MessageDuringWait();
    ~MessageDuringWait();
    MessageDuringWait(const MessageDuringWait&) = delete;
    MessageDuringWait& operator=(const MessageDuringWait&) = delete;

    // Once the wait is over: whether the message was answered within its limit.
    bool Answered();

private:
    HiddenWindow m_window;
    bool m_answeredInTime = false;
    std::thread m_sender;
};

// A real Internet Explorer, as CreateInternetExplorer makes one. Wine briefly answers
// REGDB_E_CLASSNOTREG while an earlier test's Internet Explorer process is ending with its class
// still registered, so that answer is retried for a few seconds.
HRESULT CreateRealInternetExplorer(Microsoft::WRL::ComPtr<IWebBrowser2>& browser);

// The visible Internet Explorer frame windows of every process.
std::vector<HWND> VisibleBrowserFrames();
// Closes a window of any process and waits until it is gone.
bool CloseAndWait(HWND window);

// Runs "/RegServer" of the test dialog server beside this program; true when it succeeded.
bool RegisterTestDialogServer();
// Whether a process of the test dialog server runs.
bool TestDialogServerRunning();

}  // namespace wintest
