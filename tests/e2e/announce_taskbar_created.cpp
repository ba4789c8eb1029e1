// Tells every top-level window that the task bar was created anew, as Explorer does when it
// restarts (and on some display changes, while the icons are still there).
#include <windows.h>

int main()
{
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    if (message == 0)
        return 1;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) ? 0 : 2;
}
