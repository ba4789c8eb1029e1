#pragma once
// The word box's suggestions: the shell's autocomplete drop-down over the words looked up before.

#include <windows.h>

#include <shldisp.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace tray::win32 {

class WordList;

class WordSuggestions {
public:
    WordSuggestions();
    ~WordSuggestions();
    WordSuggestions(const WordSuggestions&) = delete;
    WordSuggestions& operator=(const WordSuggestions&) = delete;

    // Offers the words in the edit control as the user types. Where the shell's autocomplete is
    // missing nothing is offered; the word box works as before.
    void Attach(HWND edit);
    // The words from now on, newest first.
    void Set(const std::vector<std::u16string>& words);
    // Whether the drop-down of words is open: Esc then closes it, not the dialog.
    bool IsDroppedDown() const;

private:
    Microsoft::WRL::ComPtr<WordList> m_list;
    Microsoft::WRL::ComPtr<IAutoComplete2> m_autoComplete;
};

}  // namespace tray::win32
