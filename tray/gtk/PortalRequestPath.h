#pragma once
// The object paths of the XDG desktop portal's requests and sessions, which a client computes
// before its call so that it listens for the answer before the answer can arrive. Plain functions
// without D-Bus, kept in the header so that every build's tests can check them.

#include <cstdint>
#include <string>
#include <string_view>

namespace tray::gtk {

inline constexpr std::string_view kPortalRequestRoot = "/org/freedesktop/portal/desktop/request/";
inline constexpr std::string_view kPortalSessionRoot = "/org/freedesktop/portal/desktop/session/";

// The caller's unique bus name as the portal writes it into paths: ":1.42" becomes "1_42".
inline std::string SenderPathElement(std::string_view uniqueName)
{
    if (!uniqueName.empty() && uniqueName.front() == ':')
        uniqueName.remove_prefix(1);
    std::string element(uniqueName);
    for (char& c : element) {
        if (c == '.')
            c = '_';
    }
    return element;
}

inline std::string PortalPath(std::string_view root, std::string_view uniqueName, std::string_view token)
{
    std::string path(root);
    path += SenderPathElement(uniqueName);
    path += '/';
    path += token;
    return path;
}

// Where the portal answers the call that carried `token` as its handle_token.
inline std::string RequestPath(std::string_view uniqueName, std::string_view token)
{
    return PortalPath(kPortalRequestRoot, uniqueName, token);
}

// The session made by the call that carried `token` as its session_handle_token.
inline std::string SessionPath(std::string_view uniqueName, std::string_view token)
{
    return PortalPath(kPortalSessionRoot, uniqueName, token);
}

// Whether `text` may stand as one element of an object path (and so serve as a token).
inline bool IsObjectPathElement(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

// A token for one call. The portal asks for tokens that are unique and hard to guess, with a
// prefix of their own so that other libraries in the process cannot clash with them: the
// sequence number makes it unique within the process, `random` makes it hard to guess.
inline std::string MakeHandleToken(std::uint32_t sequence, std::uint32_t random)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string token = "vocabra_" + std::to_string(sequence) + "_";
    for (int shift = 28; shift >= 0; shift -= 4)
        token += kHexDigits[(random >> shift) & 0xFu];
    return token;
}

}  // namespace tray::gtk
