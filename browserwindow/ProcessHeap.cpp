#include "browserwindow/ProcessHeap.h"

#include <windows.h>

namespace browserwindow {

bool UseLowFragmentationHeap()
{
    ULONG lowFragmentation = 2;
    return ::HeapSetInformation(::GetProcessHeap(), HeapCompatibilityInformation, &lowFragmentation,
                                sizeof lowFragmentation) != FALSE;
}

}  // namespace browserwindow
