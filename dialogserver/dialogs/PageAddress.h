#pragma once
// Whether the address a browser reports for a loaded document is the address a dialog sent it
// to. Browsers write the address of a file their own way (escaped or not, "file:///C:/" or
// "file://C:\", any letter case), so a page on the disk is compared as the file it names.

#include <optional>
#include <string>
#include <string_view>

namespace dialogserver::dialogs {

// The path of the file that a "file:" address (or a plain absolute path) names, with its escapes
// decoded as UTF-8 and "\" as the separator; nothing for any other address.
std::optional<std::u16string> FileAddressPath(std::u16string_view address);

// The same text, or two addresses of the same file (paths compared ignoring letter case, as the
// file system does). Web addresses must match exactly: a server may tell letter cases apart.
bool IsSamePageAddress(std::u16string_view reported, std::u16string_view expected);

}  // namespace dialogserver::dialogs
