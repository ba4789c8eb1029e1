// What one process of the Wine prefix holds, for the end-to-end test's leak check:
//   process_resources <program file name>
// prints "handles=<n> gdi=<n> user=<n> windows=<n> private=<bytes>" for the first process of
// that name, and exits 1 when there is none.
//
// Wine 8 answers some of the usual questions with 0: GetProcessHandleCount, GetGuiResources and
// the PrivateUsage of GetProcessMemoryInfo. So the handles are counted in the system's handle
// table, the private bytes are the commit charge (PagefileUsage, the same figure on Windows), and
// the windows, the USER objects that matter here, are counted one by one.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace {
DWORD FindProcess(const wchar_t* name)
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry)) {
        if (::lstrcmpiW(entry.szExeFile, name) == 0)
            found = entry.th32ProcessID;
    }
    ::CloseHandle(snapshot);
    return found;
}

// NtQuerySystemInformation(SystemHandleInformation), as ntdll lays it out.
struct HandleEntry {
    ULONG ownerProcess;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
using QuerySystemInformation = LONG(NTAPI*)(ULONG kind, PVOID buffer, ULONG size, PULONG needed);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

long CountHandles(DWORD process)
{
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    std::vector<BYTE> buffer(1 << 16);
    LONG status = kInfoLengthMismatch;
    for (int tries = 0; tries < 8 && status == kInfoLengthMismatch; ++tries) {
        ULONG needed = 0;
        status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch)
            buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
    }
    if (status < 0)
        return -1;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        count += table->entries[i].ownerProcess == process ? 1 : 0;
    return count;
}

struct WindowCount {
    DWORD process;
    long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM context)
{
    auto* counted = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    counted->count += owner == counted->process ? 1 : 0;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context)
{
    CountChild(window, context);
    ::EnumChildWindows(window, &CountChild, context);
    return TRUE;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    const DWORD id = FindProcess(argv[1]);
    const HANDLE process = id ? ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id) : nullptr;
    if (!process)
        return 1;
    const DWORD gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS);
    WindowCount windows{id, 0};
    ::EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(process, &memory, sizeof memory);
    std::printf("handles=%ld gdi=%lu user=%lu windows=%ld private=%llu\n", CountHandles(id), gdi, user, windows.count,
                static_cast<unsigned long long>(memory.PagefileUsage));
    ::CloseHandle(process);
    return 0;
}
