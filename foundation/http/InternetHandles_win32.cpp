// Internet handles over WinINet.
#include <windows.h>
#include <wininet.h>

#include "foundation/http/InternetHandles.h"
#include "foundation/win32api/LastError_win32.h"
#include "foundation/win32api/WideChar_win32.h"

namespace Win32::API {

static_assert(kInternetOpenTypePreconfig == INTERNET_OPEN_TYPE_PRECONFIG);
static_assert(kInternetOpenTypeDirect == INTERNET_OPEN_TYPE_DIRECT);
static_assert(kInternetOpenTypeProxy == INTERNET_OPEN_TYPE_PROXY);
static_assert(kInternetServiceHttp == INTERNET_SERVICE_HTTP);
static_assert(kInternetFlagReload == INTERNET_FLAG_RELOAD);
static_assert(kInternetFlagNoCacheWrite == INTERNET_FLAG_NO_CACHE_WRITE);
static_assert(kInternetFlagSecure == INTERNET_FLAG_SECURE);
static_assert(kInternetFlagKeepConnection == INTERNET_FLAG_KEEP_CONNECTION);
static_assert(kInternetFlagPragmaNoCache == INTERNET_FLAG_PRAGMA_NOCACHE);
static_assert(kInternetOptionConnectTimeout == INTERNET_OPTION_CONNECT_TIMEOUT);
static_assert(kInternetOptionSendTimeout == INTERNET_OPTION_SEND_TIMEOUT);
static_assert(kInternetOptionReceiveTimeout == INTERNET_OPTION_RECEIVE_TIMEOUT);
static_assert(kHttpQueryContentLength == HTTP_QUERY_CONTENT_LENGTH);
static_assert(kHttpQueryStatusCode == HTTP_QUERY_STATUS_CODE);

namespace {
// Takes a freshly opened handle without letting the release of the old one hide the error.
void Take(InternetHandle& owner, HINTERNET handle)
{
    KeepLastError keep;
    owner.Attach(handle);
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
    const bool closed = ::InternetCloseHandle(m_handle) != FALSE;
    m_handle = nullptr;
    return closed;
}

template <class T>
bool TOptionable<T>::SetOption(std::uint32_t option, std::uint32_t value)
{
    DWORD buffer = value;
    return ::InternetSetOptionW(this->Get(), option, &buffer, sizeof buffer) != FALSE;
}

bool Internet::Open(const char16_t* userAgent,
                    std::uint32_t accessType,
                    const char16_t* proxy,
                    const char16_t* proxyBypass,
                    std::uint32_t flags)
{
    Take(*this, ::InternetOpenW(Wide(userAgent), accessType, Wide(proxy), Wide(proxyBypass), flags));
    return IsValid();
}

bool InternetConnection::Connect(const Internet& internet,
                                 const char16_t* serverName,
                                 std::uint16_t port,
                                 const char16_t* userName,
                                 const char16_t* password,
                                 std::uint32_t service,
                                 std::uint32_t flags,
                                 std::uintptr_t context)
{
    Take(*this, ::InternetConnectW(internet.Get(), Wide(serverName), port, Wide(userName), Wide(password), service,
                                   flags, context));
    return IsValid();
}

template <class T>
bool TReadable<T>::Read(void* buffer, std::uint32_t size, std::uint32_t& read)
{
    DWORD count = 0;
    const BOOL done = ::InternetReadFile(this->Get(), buffer, size, &count);
    read = count;
    return done != FALSE;
}

template <class T>
bool TReadable<T>::QueryDataAvailable(std::uint32_t& available)
{
    DWORD count = 0;
    const BOOL done = ::InternetQueryDataAvailable(this->Get(), &count, 0, 0);
    available = count;
    return done != FALSE;
}

template <class T>
bool THttpQueryInfo<T>::QueryNumber(std::uint32_t infoLevel, std::uint32_t& value) const
{
    DWORD number = 0;
    DWORD size = sizeof number;
    if (!::HttpQueryInfoW(this->Get(), infoLevel | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr))
        return false;
    value = number;
    return true;
}

bool InternetHttpRequest::Open(const InternetConnection& connection,
                               const char16_t* verb,
                               const char16_t* objectName,
                               std::uint32_t flags,
                               std::uintptr_t context)
{
    Take(*this,
         ::HttpOpenRequestW(connection.Get(), Wide(verb), Wide(objectName), nullptr, nullptr, nullptr, flags, context));
    return IsValid();
}

bool InternetHttpRequest::Send()
{
    return ::HttpSendRequestW(Get(), nullptr, 0, nullptr, 0) != FALSE;
}

bool InternetHttpRequest::SetDeadline(std::chrono::steady_clock::time_point /*deadline*/)
{
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

template class TOptionable<InternetHandle>;
template class TReadable<InternetHandle>;
template class TWritable<InternetHandle>;
template class THttpQueryInfo<InternetHandle>;

}  // namespace Win32::API
