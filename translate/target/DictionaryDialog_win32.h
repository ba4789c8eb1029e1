#pragma once
// The vtable interface of the dialog server's classes, as its type library declares it; the
// engine only calls it. Declared with external linkage on purpose: inside an unnamed namespace
// the compiler sees no implementation anywhere and may turn the call into garbage.

#include <windows.h>

#include <oaidl.h>

namespace translate::target {

struct IDictionaryDialog : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE ShowDictionaryDialog(BSTR bsURL, BSTR bsDirection, VARIANT vtForceBrowser) = 0;
    virtual HRESULT STDMETHODCALLTYPE Detach() = 0;
};

constexpr IID kIidDictionaryDialog = {0xCF55BD27, 0x8C6F, 0x447F, {0x92, 0x40, 0x00, 0x32, 0xA5, 0x3A, 0x88, 0xCE}};

}  // namespace translate::target
