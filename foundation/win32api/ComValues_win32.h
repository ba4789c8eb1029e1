#pragma once
// Owners of the two automation value types handed to and received from COM calls: BSTR and
// VARIANT, each freed once.

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/win32api/WideChar_win32.h"

namespace Win32::API {

class Bstr {
public:
    Bstr() = default;
    // An out-of-memory failure throws, as every string primitive does.
    explicit Bstr(std::u16string_view text)
        : m_value(SysAllocStringLen(Wide(text.data()), static_cast<UINT>(text.size())))
    {
        if (!m_value)
            throw std::bad_alloc();
    }
    ~Bstr() { SysFreeString(m_value); }
    Bstr(Bstr&& other) noexcept : m_value(std::exchange(other.m_value, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept
    {
        std::swap(m_value, other.m_value);
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    // Still owned by this object; for [in] arguments.
    BSTR Get() const { return m_value; }
    // For an out parameter: frees the current string first.
    BSTR* Receive()
    {
        SysFreeString(std::exchange(m_value, nullptr));
        return &m_value;
    }
    BSTR Release() { return std::exchange(m_value, nullptr); }

    // A null BSTR is, by COM convention, the empty string.
    std::u16string Text() const { return Text(m_value); }
    static std::u16string Text(BSTR value) { return value ? FromWide(value, SysStringLen(value)) : std::u16string(); }

private:
    BSTR m_value = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&m_value); }
    explicit Variant(bool value) : Variant()
    {
        m_value.vt = VT_BOOL;
        m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    explicit Variant(long value) : Variant()
    {
        m_value.vt = VT_I4;
        m_value.lVal = value;
    }
    explicit Variant(double value) : Variant()
    {
        m_value.vt = VT_R8;
        m_value.dblVal = value;
    }
    explicit Variant(std::u16string_view text) : Variant()
    {
        m_value.bstrVal = Bstr(text).Release();
        m_value.vt = VT_BSTR;
    }
    // VT_DISPATCH holding its own reference; a null pointer leaves the value empty.
    explicit Variant(IDispatch* dispatch) : Variant()
    {
        if (dispatch) {
            dispatch->AddRef();
            m_value.vt = VT_DISPATCH;
            m_value.pdispVal = dispatch;
        }
    }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    // Still owned by this object; for [in] arguments.
    const VARIANT& Value() const { return m_value; }
    VARIANT& Value() { return m_value; }
    // For an out parameter: clears the current value first.
    VARIANT* Receive()
    {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

}  // namespace Win32::API
