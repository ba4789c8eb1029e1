#include "tray/win32/WordSuggestions.h"

#include <shlguid.h>
#include <shobjidl.h>

#include <memory>
#include <utility>

#include "foundation/win32api/ComBoundary_win32.h"
#include "foundation/win32api/ComObject_win32.h"
#include "foundation/win32api/WideChar_win32.h"

namespace tray::win32 {

using Words = std::vector<std::u16string>;

// The enumerator the autocomplete reads. It sees the words of its last Reset, so that a list
// changed while the drop-down is open does not shift under it.
class WordList final : public Win32::API::ComObject<IEnumString> {
public:
    WordList(std::shared_ptr<std::shared_ptr<const Words>> latest, std::shared_ptr<const Words> words, ULONG position)
        : m_latest(std::move(latest)), m_words(std::move(words)), m_position(position)
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override
    {
        return Win32::API::ComBoundary("WordList::Next", [&]() -> HRESULT {
            if (!strings || (count > 1 && !fetched))
                return E_POINTER;
            ULONG given = 0;
            for (; given < count && m_position < m_words->size(); ++given, ++m_position) {
                const std::u16string& word = (*m_words)[m_position];
                const std::size_t bytes = (word.size() + 1) * sizeof(wchar_t);
                auto* copy = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
                if (!copy)
                    break;
                ::CopyMemory(copy, Win32::API::Wide(word), bytes);
                strings[given] = copy;
            }
            if (fetched)
                *fetched = given;
            return given == count ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        const std::size_t left = m_words->size() - m_position;
        m_position += static_cast<ULONG>(std::min<std::size_t>(count, left));
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        // The shell may enumerate on a thread of its own.
        m_words = std::atomic_load(m_latest.get());
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumString** clone) override
    {
        return Win32::API::ComBoundary("WordList::Clone", [&]() -> HRESULT {
            if (!clone)
                return E_POINTER;
            *clone = Make(m_latest, m_words, m_position).Detach();
            return S_OK;
        });
    }

    // A new list with its one reference.
    static Microsoft::WRL::ComPtr<WordList> Make(std::shared_ptr<std::shared_ptr<const Words>> latest,
                                                 std::shared_ptr<const Words> words,
                                                 ULONG position)
    {
        Microsoft::WRL::ComPtr<WordList> list;
        // The new object's one reference is handed over as it is: MinGW's ComPtr::Attach adds one.
        *list.GetAddressOf() = new WordList(std::move(latest), std::move(words), position);
        return list;
    }

    void Set(Words words) { std::atomic_store(m_latest.get(), std::make_shared<const Words>(std::move(words))); }

private:
    ~WordList() override = default;

    // Shared by a list and its clones: where Set puts the words that the next Reset takes.
    std::shared_ptr<std::shared_ptr<const Words>> m_latest;
    std::shared_ptr<const Words> m_words;
    ULONG m_position;
};

WordSuggestions::WordSuggestions()
{
    const auto empty = std::make_shared<const Words>();
    m_list = WordList::Make(std::make_shared<std::shared_ptr<const Words>>(empty), empty, 0);
}

WordSuggestions::~WordSuggestions() = default;

void WordSuggestions::Attach(HWND edit)
{
    if (FAILED(::CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(m_autoComplete.ReleaseAndGetAddressOf()))))
        return;
    if (FAILED(m_autoComplete->Init(edit, m_list.Get(), nullptr, nullptr))) {
        m_autoComplete.Reset();
        return;
    }
    m_autoComplete->SetOptions(ACO_AUTOSUGGEST | ACO_UPDOWNKEYDROPSLIST);
}

void WordSuggestions::Set(const std::vector<std::u16string>& words)
{
    m_list->Set(words);
}

}  // namespace tray::win32

namespace tray::win32 {

bool WordSuggestions::IsDroppedDown() const
{
    Microsoft::WRL::ComPtr<IAutoCompleteDropDown> dropDown;
    if (!m_autoComplete || FAILED(m_autoComplete.As(&dropDown)))
        return false;
    DWORD status = 0;
    LPWSTR text = nullptr;
    if (FAILED(dropDown->GetDropDownStatus(&status, &text)))
        return false;
    ::CoTaskMemFree(text);
    return (status & ACDD_VISIBLE) != 0;
}

}  // namespace tray::win32
