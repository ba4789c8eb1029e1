// The socket's ownership, alike on both platforms; the system calls are in the _posix and _win32 files.
#include "tests/support/LoopbackSocket.h"

namespace testsupport {

LoopbackSocket::~LoopbackSocket()
{
    Close();
}

LoopbackSocket::LoopbackSocket(LoopbackSocket&& other) noexcept : m_socket(other.m_socket)
{
    other.m_socket = kInvalid;
}

LoopbackSocket& LoopbackSocket::operator=(LoopbackSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        m_socket = other.m_socket;
        other.m_socket = kInvalid;
    }
    return *this;
}

}  // namespace testsupport
