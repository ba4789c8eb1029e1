// The fixed version record of a file's version resource.
#include <windows.h>

#include <cstring>
#include <new>
#include <vector>

#include "foundation/process/FileVersion.h"
#include "foundation/win32api/WideChar_win32.h"

static_assert(sizeof(VS_FIXEDFILEINFO) == sizeof(FixedFileInfo), "FixedFileInfo mirrors VS_FIXEDFILEINFO");

bool GetFileVersion(const std::u16string& path, FixedFileInfo& info)
{
    const wchar_t* file = Win32::API::Wide(path.c_str());
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file, &handle);
    if (size == 0)
        return false;

    std::vector<BYTE> buffer;
    try {
        buffer.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!::GetFileVersionInfoW(file, handle, size, buffer.data()))
        return false;

    void* fixed = nullptr;
    UINT fixedSize = 0;
    if (!::VerQueryValueW(buffer.data(), L"\\", &fixed, &fixedSize) || !fixed || fixedSize < sizeof info)
        return false;
    std::memcpy(&info, fixed, sizeof info);
    return true;
}
