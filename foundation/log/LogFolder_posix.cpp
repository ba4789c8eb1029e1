#include <string>

#include "foundation/config/UserFolders_posix.h"
#include "foundation/log/Log.h"
#include "foundation/text/Utf.h"

std::u16string SharedLogFolder()
{
    const std::string state = config::XdgStateHome();
    return state.empty() ? std::u16string() : text::Utf8ToUtf16(state + "/Vocabra");
}

void CreateLogFolder(const std::u16string& folder)
{
    // ~/.local/state may not exist yet on a fresh account.
    config::CreateFolders(text::Utf16ToUtf8(folder));
}
