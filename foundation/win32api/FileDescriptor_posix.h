#pragma once
// POSIX kernel handles are file descriptors. A descriptor is kept as fd + 1 so that a failed
// open (-1) becomes the null handle and descriptor 0 stays a valid, non-null one.

#include <cstdint>

namespace Win32::API {

inline void* HandleFromDescriptor(int fd)
{
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the handle type is a pointer, as on Windows; it carries a number
    return fd < 0 ? nullptr : reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);
}

inline int DescriptorFromHandle(void* handle)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle) - 1);
}

}  // namespace Win32::API
