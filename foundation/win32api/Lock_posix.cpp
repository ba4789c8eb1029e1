#include <mutex>
#include <new>

#include "foundation/win32api/Lock.h"

namespace Win32::API {
namespace {
static_assert(sizeof(std::recursive_mutex) <= CriticalSection::kStorageSize, "the lock must fit its storage");

std::recursive_mutex& MutexIn(unsigned char* storage)
{
    return *std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}
}  // namespace

CriticalSection::CriticalSection()
{
    ::new (m_storage) std::recursive_mutex();
}

CriticalSection::~CriticalSection()
{
    MutexIn(m_storage).~recursive_mutex();
}

void CriticalSection::Lock()
{
    MutexIn(m_storage).lock();
}

void CriticalSection::Unlock()
{
    MutexIn(m_storage).unlock();
}

}  // namespace Win32::API
