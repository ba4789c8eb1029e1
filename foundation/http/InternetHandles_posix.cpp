// Internet handles over libcurl. A handle value is an InternetObject owned by its InternetHandle;
// options and settings pass from the root to the handles opened from it, as with WinINet.
#include <cerrno>
#include <memory>

#include <curl/curl.h>

#include "foundation/http/InternetHandles.h"
#include "foundation/http/InternetObjects_posix.h"
#include "foundation/text/Utf.h"

namespace Win32::API {
namespace {
using internet::As;
using internet::InternetObject;

bool CurlReady()
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

std::string Narrow(const char16_t* text)
{
    return text ? text::Utf16ToUtf8(text) : std::string();
}

// The object behind a handle, when the handle is valid and of that kind.
template <class Object>
Object* ObjectOf(const InternetHandle& handle)
{
    return handle.IsValid() ? As<Object>(handle.Get()) : nullptr;
}

// Takes a newly made object, or fails like a system call that returned no handle.
bool Take(InternetHandle& owner, std::unique_ptr<InternetObject> object)
{
    if (!object) {
        owner.Attach(nullptr);
        errno = EINVAL;
        return false;
    }
    owner.Attach(object.release());
    return true;
}
}  // namespace

InternetHandle::~InternetHandle()
{
    InternetHandle::Close();
}

bool InternetHandle::Close()
{
    if (!IsValid())
        return false;
    delete static_cast<InternetObject*>(m_handle);
    m_handle = nullptr;
    return true;
}

template <class T>
bool TOptionable<T>::SetOption(std::uint32_t option, std::uint32_t value)
{
    auto* object = ObjectOf<InternetObject>(*this);
    if (!object) {
        errno = EINVAL;
        return false;
    }
    internet::SessionSettings& settings = object->settings;
    switch (option) {
        case kInternetOptionConnectTimeout:
            settings.connectTimeoutMs = value;
            return true;
        case kInternetOptionSendTimeout:
            settings.sendTimeoutMs = value;
            return true;
        case kInternetOptionReceiveTimeout:
            settings.receiveTimeoutMs = value;
            return true;
        default:
            errno = EINVAL;
            return false;
    }
}

bool Internet::Open(const char16_t* userAgent,
                    std::uint32_t accessType,
                    const char16_t* proxy,
                    const char16_t* proxyBypass,
                    std::uint32_t /*flags*/)
{
    std::unique_ptr<internet::Session> session;
    if (CurlReady()) {
        session = std::make_unique<internet::Session>();
        session->settings.userAgent = Narrow(userAgent);
        session->settings.accessType = accessType;
        session->settings.proxy = Narrow(proxy);
        session->settings.proxyBypass = Narrow(proxyBypass);
    }
    return Take(*this, std::move(session));
}

bool InternetConnection::Connect(const Internet& internet,
                                 const char16_t* serverName,
                                 std::uint16_t port,
                                 const char16_t* /*userName*/,
                                 const char16_t* /*password*/,
                                 std::uint32_t service,
                                 std::uint32_t /*flags*/,
                                 std::uintptr_t /*context*/)
{
    std::unique_ptr<internet::Server> server;
    const auto* session = ObjectOf<internet::Session>(internet);
    if (session && serverName && *serverName && service == kInternetServiceHttp) {
        server = std::make_unique<internet::Server>();
        server->settings = session->settings;
        server->host = Narrow(serverName);
        server->port = port;
    }
    return Take(*this, std::move(server));
}

template <class T>
bool TReadable<T>::Read(void* buffer, std::uint32_t size, std::uint32_t& read)
{
    read = 0;
    auto* transfer = ObjectOf<internet::Transfer>(*this);
    return transfer && transfer->Read(buffer, size, read);
}

template <class T>
bool TReadable<T>::QueryDataAvailable(std::uint32_t& available)
{
    available = 0;
    auto* transfer = ObjectOf<internet::Transfer>(*this);
    return transfer && transfer->QueryDataAvailable(available);
}

template <class T>
bool THttpQueryInfo<T>::QueryNumber(std::uint32_t infoLevel, std::uint32_t& value) const
{
    const auto* transfer = ObjectOf<internet::Transfer>(*this);
    return transfer && transfer->QueryNumber(infoLevel, value);
}

bool InternetHttpRequest::Open(const InternetConnection& connection,
                               const char16_t* verb,
                               const char16_t* objectName,
                               std::uint32_t flags,
                               std::uintptr_t /*context*/)
{
    std::unique_ptr<internet::Transfer> transfer;
    const auto* server = ObjectOf<internet::Server>(connection);
    if (server) {
        const std::string target = objectName && *objectName ? Narrow(objectName) : std::string("/");
        transfer =
            std::make_unique<internet::Transfer>(*server, verb ? Narrow(verb) : std::string("GET"), target, flags);
        if (!transfer->IsUsable())
            transfer.reset();
    }
    return Take(*this, std::move(transfer));
}

bool InternetHttpRequest::Send()
{
    auto* transfer = ObjectOf<internet::Transfer>(*this);
    return transfer && transfer->Send();
}

bool InternetHttpRequest::SetDeadline(std::chrono::steady_clock::time_point deadline)
{
    auto* transfer = ObjectOf<internet::Transfer>(*this);
    if (!transfer) {
        errno = EINVAL;
        return false;
    }
    transfer->SetDeadline(deadline);
    return true;
}

template class TOptionable<InternetHandle>;
template class TReadable<InternetHandle>;
template class TWritable<InternetHandle>;
template class THttpQueryInfo<InternetHandle>;

}  // namespace Win32::API
