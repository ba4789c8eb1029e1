#pragma once
// The translation engine's only exception: an English text, never shown to the user.

#include <string>
#include <utility>

// <windows.h> maps GetMessage to GetMessageW; the engine's accessor keeps its own name.
#pragma push_macro("GetMessage")
#undef GetMessage

namespace translate {

class TranslateException {
public:
    explicit TranslateException(std::u16string message) : m_message(std::move(message)) {}

    const std::u16string& GetMessage() const { return m_message; }

private:
    std::u16string m_message;
};

}  // namespace translate

#pragma pop_macro("GetMessage")
