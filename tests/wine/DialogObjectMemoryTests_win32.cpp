// The dialog server's COM methods on a machine out of memory: each allocation they make fails in
// turn, and every call answers E_OUTOFMEMORY (or succeeds, when the failed allocation was not
// needed) instead of letting the exception out into COM, which would end the server.
#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "VocabraHelper.h"
#include "dialogserver/server/DialogClasses_win32.h"
#include "dialogserver/server/DialogObject_win32.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FailingAllocations.h"

using Microsoft::WRL::ComPtr;

namespace {
using dialogserver::DialogClass;
using dialogserver::DialogClasses;
using dialogserver::DialogObject;

// More than any of these calls makes; a call that still fails at this count fails the test.
constexpr long kAllocationLimit = 400;

// Runs `call` with its 1st, 2nd, ... allocation failing until it makes no more allocations than
// the one that was to fail. Every answer must be S_OK or E_OUTOFMEMORY.
template <class Call>
void FailEachAllocationOf(const char* name, Call call)
{
    for (long n = 1; n <= kAllocationLimit; ++n) {
        wintest::FailAllocationNumber(n);
        HRESULT hr = E_UNEXPECTED;
        try {
            hr = call();
        } catch (...) {
            wintest::FailAllocationNumber(0);
            FAIL() << name << ": an exception left the call when allocation " << n << " failed";
        }
        const long made = wintest::AllocationsSinceArmed();
        wintest::FailAllocationNumber(0);
        if (n > made) {
            EXPECT_EQ(hr, S_OK) << name << " made " << made << " allocations and none failed";
            return;
        }
        EXPECT_TRUE(hr == E_OUTOFMEMORY || hr == S_OK) << name << ": allocation " << n << " failed, answer " << hr;
    }
    ADD_FAILURE() << name << " still allocates after " << kAllocationLimit << " allocations";
}

using DialogObjectMemoryTest = wintest::ComTest;

TEST_F(DialogObjectMemoryTest, CreatingAnObjectAnswersOutOfMemory)
{
    for (const DialogClass& dialogClass : DialogClasses()) {
        FailEachAllocationOf("Create", [&] {
            ComPtr<IDispatch> dialog;
            return DialogObject::Create(dialogClass, nullptr, IID_IDispatch,
                                        reinterpret_cast<void**>(dialog.GetAddressOf()));
        });
    }
}

TEST_F(DialogObjectMemoryTest, LateBoundCallsAndDetachAnswerOutOfMemory)
{
    for (const DialogClass& dialogClass : DialogClasses()) {
        ComPtr<IDispatch> dialog;
        ASSERT_HRESULT_SUCCEEDED(
            DialogObject::Create(dialogClass, nullptr, IID_IDispatch, reinterpret_cast<void**>(dialog.GetAddressOf())));
        ComPtr<IDictionaryDialog> early;
        ASSERT_HRESULT_SUCCEEDED(dialog.As(&early));
        FailEachAllocationOf("Detach", [&] { return early->Detach(); });
        FailEachAllocationOf("GetIDsOfNames", [&] {
            LPOLESTR name = const_cast<LPOLESTR>(L"Detach");
            DISPID id = DISPID_UNKNOWN;
            const HRESULT hr = dialog->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id);
            // Without the type library registered the names are unknown; that is an answer too.
            return hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
        });
        FailEachAllocationOf("Invoke", [&] {
            DISPPARAMS none{};
            const HRESULT hr =
                dialog->Invoke(2, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
            return hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
        });
    }
}

}  // namespace
