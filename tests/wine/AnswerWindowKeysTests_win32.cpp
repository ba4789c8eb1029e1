// Keys typed into an answer window, as the tray program's message loop takes them from the queue.
// Wine's browser control has no page to type in, so a stand-in takes the place of the page's
// active object, the way the control hands itself to its frame when the user clicks the page.
#include <windows.h>

#include <wrl/client.h>

#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "tests/wine/Adopt_win32.h"
#include "tests/wine/AnswerWindowLibrary_win32.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/RefCounted_win32.h"
#include "tray/win32/MessageLoop.h"

using Microsoft::WRL::ComPtr;
using translate::target::Target;

namespace {

struct Key {
    UINT message;
    WPARAM code;
    bool operator==(const Key& other) const { return message == other.message && code == other.code; }
};

// A page's active object: records every key it is offered and takes those it is told to.
class StandInPage final : public wintest::TRefCounted<IOleInPlaceActiveObject> {
public:
    explicit StandInPage(std::set<WPARAM> taken = {}) : m_taken(std::move(taken)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IOleWindow && riid != IID_IOleInPlaceActiveObject)
            return E_NOINTERFACE;
        *object = static_cast<IOleInPlaceActiveObject*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return *window = nullptr, E_FAIL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override
    {
        offered.push_back({message->message, message->wParam});
        return m_taken.count(message->wParam) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    ULONG References()
    {
        AddRef();
        return Release();
    }

    std::vector<Key> offered;

private:
    std::set<WPARAM> m_taken;
};

// The main dialog's place in the loop: a filter that sees what reaches it, and consumes nothing.
class RecordingFilter final : public tray::win32::CMessageFilter {
public:
    bool PreTranslateMessage(MSG& message) override
    {
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST)
            seen.push_back({message.message, message.wParam});
        return false;
    }
    std::vector<Key> seen;
};

class AnswerWindowKeysTest : public wintest::AnswerWindowTest {
protected:
    // The control's frame, as the control finds it through its site.
    static ComPtr<IOleInPlaceFrame> FrameOf(Target* target)
    {
        const ComPtr<IOleInPlaceSite> placement = wintest::SiteAs<IOleInPlaceSite>(target);
        ComPtr<IOleInPlaceFrame> frame;
        ComPtr<IOleInPlaceUIWindow> document;
        RECT position{};
        RECT clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        if (!placement ||
            FAILED(placement->GetWindowContext(frame.GetAddressOf(), document.GetAddressOf(), &position, &clip, &info)))
            return nullptr;
        return frame;
    }

    // The tray program's loop, run until the queue is empty.
    void RunTrayLoop()
    {
        ::PostQuitMessage(0);
        tray::win32::CMessageLoop loop;
        loop.AddMessageFilter(&m_filter);
        loop.Run();
        loop.RemoveMessageFilter(&m_filter);
    }

    RecordingFilter m_filter;
};

// Ctrl+C, Tab and the arrows work on the page only when the page is offered them before anything
// else; what the page takes goes no further, what it leaves goes on to the dialog's filter.
TEST_F(AnswerWindowKeysTest, ThePageIsOfferedEachKeyFirst)
{
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    const HWND window = wintest::WindowOf(target);
    const HWND control = ::GetWindow(window, GW_CHILD);
    ASSERT_NE(control, nullptr);
    const ComPtr<StandInPage> page = wintest::Adopt(new StandInPage({'C', VK_TAB, VK_DOWN}));
    ASSERT_HRESULT_SUCCEEDED(FrameOf(target)->SetActiveObject(page.Get(), nullptr));

    // Keys whose release or kind makes no character, so that the loop adds no WM_CHAR of its own.
    const struct {
        HWND to;
        Key key;
        bool taken;
    } cases[] = {
        {control, {WM_KEYDOWN, 'C'}, true},    {control, {WM_KEYUP, 'C'}, true},
        {window, {WM_KEYDOWN, VK_TAB}, true},  {control, {WM_SYSKEYDOWN, VK_DOWN}, true},
        {control, {WM_KEYDOWN, VK_F5}, false}, {control, {WM_CHAR, 'q'}, false},
        {window, {WM_KEYUP, VK_F5}, false},
    };
    std::vector<Key> typed;
    std::vector<Key> passedOn;
    for (const auto& c : cases) {
        ::PostMessageW(c.to, c.key.message, c.key.code, 0);
        typed.push_back(c.key);
        if (!c.taken)
            passedOn.push_back(c.key);
    }
    RunTrayLoop();
    EXPECT_EQ(page->offered, typed);
    EXPECT_EQ(m_filter.seen, passedOn);
    target->Dispose();
}

// Keys of other windows, and of other answer windows, are not the page's.
TEST_F(AnswerWindowKeysTest, EachPageIsOfferedOnlyTheKeysOfItsOwnWindow)
{
    Target* first = Open();
    Target* second = Open();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const ComPtr<StandInPage> firstPage = wintest::Adopt(new StandInPage({'C'}));
    const ComPtr<StandInPage> secondPage = wintest::Adopt(new StandInPage({'C'}));
    ASSERT_HRESULT_SUCCEEDED(FrameOf(first)->SetActiveObject(firstPage.Get(), nullptr));
    ASSERT_HRESULT_SUCCEEDED(FrameOf(second)->SetActiveObject(secondPage.Get(), nullptr));
    wintest::HiddenWindow other;

    ::PostMessageW(other.Get(), WM_KEYUP, 'C', 0);
    ::PostMessageW(wintest::WindowOf(second), WM_KEYDOWN, 'C', 0);
    RunTrayLoop();
    EXPECT_TRUE(firstPage->offered.empty());
    EXPECT_EQ(secondPage->offered, (std::vector<Key>{{WM_KEYDOWN, 'C'}}));
    EXPECT_EQ(m_filter.seen, (std::vector<Key>{{WM_KEYUP, 'C'}})) << "the other window's key is passed on";
    first->Dispose();
    second->Dispose();
}

// Esc closes the window the way its close box does, unless the page wants it (an open list on
// the page, for instance). A window without a page closes too.
TEST_F(AnswerWindowKeysTest, EscClosesTheWindowThroughTheCloseCallback)
{
    const struct {
        bool withPage;
        bool pageTakesEsc;
        bool closes;
    } cases[] = {{false, false, true}, {true, false, true}, {true, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.withPage << ", page takes Esc " << c.pageTakesEsc);
        wintest::Closings closings;
        closings.disposeInCallback = true;  // as the tray program does
        Target* target = Open(&closings);
        ASSERT_NE(target, nullptr);
        const HWND window = wintest::WindowOf(target);
        const ComPtr<StandInPage> page =
            wintest::Adopt(new StandInPage(c.pageTakesEsc ? std::set<WPARAM>{VK_ESCAPE} : std::set<WPARAM>{}));
        if (c.withPage) {
            ASSERT_HRESULT_SUCCEEDED(FrameOf(target)->SetActiveObject(page.Get(), nullptr));
        }

        const HWND control = ::GetWindow(window, GW_CHILD);
        ::PostMessageW(control, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageW(control, WM_KEYUP, VK_ESCAPE, 0);
        RunTrayLoop();
        if (c.closes) {
            EXPECT_EQ(closings.targets, std::vector<Target*>{target});
            EXPECT_FALSE(::IsWindow(window));
        } else {
            EXPECT_TRUE(closings.targets.empty());
            EXPECT_TRUE(::IsWindowVisible(window));
            target->Dispose();
        }
        if (c.withPage) {
            ASSERT_FALSE(page->offered.empty());
            EXPECT_EQ(page->offered.front(), (Key{WM_KEYDOWN, VK_ESCAPE}));
        }
    }
}

// The frame holds the active object the control gives it, one at a time, and lets go of it when
// the control goes: the control holds the frame, so a reference kept longer would keep both.
TEST_F(AnswerWindowKeysTest, TheActiveObjectIsHeldWhileTheControlIsThere)
{
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    const ComPtr<StandInPage> first = wintest::Adopt(new StandInPage());
    const ComPtr<StandInPage> second = wintest::Adopt(new StandInPage());
    ComPtr<IOleInPlaceFrame> frame = FrameOf(target);
    ASSERT_NE(frame, nullptr);

    frame->SetActiveObject(first.Get(), nullptr);
    EXPECT_EQ(first->References(), 2u);
    frame->SetActiveObject(nullptr, nullptr);
    EXPECT_EQ(first->References(), 1u);
    frame->SetActiveObject(first.Get(), nullptr);
    frame->SetActiveObject(second.Get(), nullptr);
    EXPECT_EQ(first->References(), 1u);
    EXPECT_EQ(second->References(), 2u);
    frame.Reset();
    target->Dispose();
    EXPECT_EQ(second->References(), 1u);
}

}  // namespace
