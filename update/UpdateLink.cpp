#include <mutex>

#include "foundation/config/Environment.h"
#include "foundation/http/UrlParts.h"
#include "foundation/log/Log.h"
#include "foundation/patterns/Singleton.h"
#include "foundation/process/FileVersion.h"
#include "foundation/text/Utf.h"
#include "update/UpdateCheck.h"

namespace update {
namespace {
// Written by the check's thread and read by the main thread, which need not wait for the check
// to end (an abandoned check may still finish): every access is locked.
struct UpdateLink {
    std::mutex lock;
    std::u16string address = LoadResourceString(IDS_INSTALLER_URL);
};
}  // namespace

bool IsAcceptableUpdateLink(const std::u16string& link)
{
    http::UrlParts parts;
    if (!http::SplitUrl(link, parts) || parts.host.empty() || (parts.scheme != u"http" && parts.scheme != u"https"))
        return false;
    // SplitUrl also takes "http:host"; only "scheme://" makes an address absolute.
    const std::size_t separator = link.find(u':');
    return link.compare(separator, 3, u"://") == 0;
}

bool AcceptUpdateLink(const std::u16string& link)
{
    if (!IsAcceptableUpdateLink(link)) {
        static Log log("UpdateCheck");
        log.Write("Update link refused: ", link.c_str());
        return false;
    }
    SetUpdateLink(link);
    return true;
}

std::u16string GetUpdateLink()
{
    UpdateLink& link = patterns::Singleton<UpdateLink>::GetInstance();
    const std::lock_guard<std::mutex> hold(link.lock);
    return link.address;
}

void SetUpdateLink(const std::u16string& address)
{
    UpdateLink& link = patterns::Singleton<UpdateLink>::GetInstance();
    const std::lock_guard<std::mutex> hold(link.lock);
    link.address = address;
}

std::u16string FormatVersionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS)
{
    const std::string version = std::to_string(fileVersionMS >> 16) + "." + std::to_string(fileVersionMS & 0xFFFF) +
                                "." + std::to_string(fileVersionLS >> 16) + "." +
                                std::to_string(fileVersionLS & 0xFFFF);
    return text::Utf8ToUtf16(version);
}

std::u16string GetVersionText()
{
    const std::u16string path = GetModuleFilePath();
    FixedFileInfo info{};
    if (path.empty() || !GetFileVersion(path, info))
        return std::u16string();
    return FormatVersionText(info.dwFileVersionMS, info.dwFileVersionLS);
}

}  // namespace update
