#pragma once
// Owners of the automation values handed to COM calls: a BSTR and a VARIANT, each freed once.

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <string>

namespace translate::target {

class Bstr {
public:
    // An out-of-memory failure throws, as every string primitive does.
    explicit Bstr(const std::u16string& text)
        : m_value(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())))
    {
        if (!m_value)
            throw std::bad_alloc();
    }
    ~Bstr() { ::SysFreeString(m_value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    // Still owned by this object; for [in] arguments.
    BSTR Get() const { return m_value; }

private:
    BSTR m_value;
};

class Variant {
public:
    Variant() { ::VariantInit(&m_value); }
    // VT_DISPATCH holding its own reference to `dispatch`.
    explicit Variant(IDispatch* dispatch) : Variant()
    {
        if (dispatch) {
            dispatch->AddRef();
            m_value.vt = VT_DISPATCH;
            m_value.pdispVal = dispatch;
        }
    }
    explicit Variant(LONG value) : Variant()
    {
        m_value.vt = VT_I4;
        m_value.lVal = value;
    }
    ~Variant() { ::VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    // Still owned by this object; for [in] arguments.
    const VARIANT& Get() const { return m_value; }
    VARIANT* Pointer() { return &m_value; }

private:
    VARIANT m_value;
};

}  // namespace translate::target
