// CriticalSection over the system's CRITICAL_SECTION, kept inside the object's own storage.
#include <windows.h>

#include <new>

#include "foundation/win32api/Lock.h"

namespace Win32::API {

namespace {
CRITICAL_SECTION* SectionIn(unsigned char* storage)
{
    return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
}  // namespace

CriticalSection::CriticalSection()
{
    static_assert(sizeof(CRITICAL_SECTION) <= sizeof m_storage, "the header reserves too little room");
    static_assert(alignof(CRITICAL_SECTION) <= alignof(std::max_align_t), "the header aligns too loosely");
    ::InitializeCriticalSection(::new (static_cast<void*>(m_storage)) CRITICAL_SECTION{});
}

CriticalSection::~CriticalSection()
{
    ::DeleteCriticalSection(SectionIn(m_storage));
}

void CriticalSection::Lock()
{
    ::EnterCriticalSection(SectionIn(m_storage));
}

void CriticalSection::Unlock()
{
    ::LeaveCriticalSection(SectionIn(m_storage));
}

}  // namespace Win32::API
