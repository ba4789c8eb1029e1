#pragma once
// The text of the TranslateException a call throws, or "nothing thrown".

#include <functional>
#include <string>

#include "translate/manager/TranslateException.h"

// <windows.h> maps GetMessage to GetMessageW; the exception's accessor keeps its own name.
#pragma push_macro("GetMessage")
#undef GetMessage

namespace wintest {

inline std::string ThrownMessage(const std::function<void()>& call)
{
    try {
        call();
    } catch (const translate::TranslateException& error) {
        const std::u16string& text = error.GetMessage();
        return std::string(text.begin(), text.end());
    }
    return "nothing thrown";
}

}  // namespace wintest

#pragma pop_macro("GetMessage")
