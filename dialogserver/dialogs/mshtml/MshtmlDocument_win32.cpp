#include <windows.h>

#include <exdisp.h>
#include <mshtml.h>

#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlNodes_win32.h"
#include "foundation/win32api/ComValues_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace dialogserver::mshtml {
namespace {

// getElementsByTagName's collection, which MSHTML keeps up to date as the page changes.
class MshtmlCollection final : public dom::ElementCollection {
public:
    explicit MshtmlCollection(ComPtr<IHTMLElementCollection> elements) : m_elements(std::move(elements)) {}

    long Length() override
    {
        long length = 0;
        return SUCCEEDED(m_elements->get_length(&length)) ? length : 0;
    }

    dom::ElementPtr Item(long index) override
    {
        ComPtr<IHTMLElement> element;
        return SUCCEEDED(ItemAs(index, element)) ? WrapElement(std::move(element)) : nullptr;
    }

    // The item at `index` as the interface `item` asks for.
    template <class Interface>
    HRESULT ItemAs(long index, ComPtr<Interface>& item)
    {
        const Variant position(index);
        ComPtr<IDispatch> found;
        const HRESULT hr = m_elements->item(position.Value(), position.Value(), &found);
        if (FAILED(hr) || !found)
            return FAILED(hr) ? hr : E_FAIL;
        return found.As(&item);
    }

private:
    ComPtr<IHTMLElementCollection> m_elements;
};

class MshtmlDocument final : public dom::Document {
public:
    explicit MshtmlDocument(ComPtr<IHTMLDocument2> document) : m_document(std::move(document)) {}

    dom::ElementPtr ElementById(std::u16string_view id) override
    {
        ComPtr<IHTMLDocument3> document;
        ComPtr<IHTMLElement> element;
        if (FAILED(m_document.As(&document)) || FAILED(document->getElementById(Bstr(id).Get(), &element)))
            return nullptr;
        return WrapElement(std::move(element));
    }

    std::unique_ptr<dom::ElementCollection> ElementsByTagName(std::u16string_view tag) override
    {
        ComPtr<IHTMLDocument3> document;
        ComPtr<IHTMLElementCollection> elements;
        if (FAILED(m_document.As(&document)) || FAILED(document->getElementsByTagName(Bstr(tag).Get(), &elements)) ||
            !elements)
            return nullptr;
        return std::make_unique<MshtmlCollection>(std::move(elements));
    }

    dom::ElementPtr CreateElement(std::u16string_view tag) override
    {
        ComPtr<IHTMLElement> element;
        if (FAILED(m_document->createElement(Bstr(tag).Get(), &element)))
            return nullptr;
        return WrapElement(std::move(element));
    }

    std::unique_ptr<dom::ScriptFunction> FindScriptFunction(std::u16string_view name) override
    {
        ComPtr<IHTMLWindow2> window;
        if (FAILED(m_document->get_parentWindow(&window)) || !window)
            return nullptr;
        return FindWindowFunction(window.Get(), name);
    }

    std::vector<std::u16string> ScriptTexts() override
    {
        std::vector<std::u16string> texts;
        ComPtr<IHTMLElementCollection> scripts;
        if (FAILED(m_document->get_scripts(&scripts)) || !scripts)
            return texts;
        MshtmlCollection collection(std::move(scripts));
        for (long index = 0; index < collection.Length(); ++index) {
            ComPtr<IHTMLScriptElement> script;
            Bstr text;
            if (SUCCEEDED(collection.ItemAs(index, script)) && SUCCEEDED(script->get_text(text.Receive())))
                texts.push_back(Bstr::Text(text.Get()));
        }
        return texts;
    }

    bool SetBodyOnUnload(const dom::ScriptObjectPtr& handler) override
    {
        ComPtr<IHTMLElement> body;
        ComPtr<IHTMLBodyElement> bodyElement;
        IDispatch* dispatch = DispatchOf(handler.get());
        if (!dispatch || FAILED(m_document->get_body(&body)) || !body || FAILED(body.As(&bodyElement)))
            return false;
        return SUCCEEDED(bodyElement->put_onunload(Variant(dispatch).Value()));
    }

private:
    ComPtr<IHTMLDocument2> m_document;
};

}  // namespace

std::unique_ptr<dom::Document> OpenMshtmlDocument(IUnknown* browser)
{
    ComPtr<IWebBrowser2> webBrowser;
    ComPtr<IDispatch> current;
    ComPtr<IHTMLDocument2> document;
    if (!browser || FAILED(browser->QueryInterface(IID_PPV_ARGS(&webBrowser))) ||
        FAILED(webBrowser->get_Document(&current)) || !current || FAILED(current.As(&document)))
        return nullptr;
    return std::make_unique<MshtmlDocument>(std::move(document));
}

}  // namespace dialogserver::mshtml
