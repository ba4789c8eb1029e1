#include "foundation/threads/PumpingWait_win32.h"

#include <windows.h>

#include <memory>

#include "foundation/threads/BackgroundTask.h"
#include "foundation/win32api/ComApartment_win32.h"
#include "foundation/win32api/Handles.h"

namespace threads {

PumpedWork RunWhilePumping(std::function<bool()> work, std::chrono::milliseconds limit, const MessageFilter& filter)
{
    // Signalled by the worker when it ends; shared with it, since an abandoned worker outlives
    // this call.
    auto done = std::make_shared<Win32::API::Event>();
    bool existed = false;
    if (!done->Create(nullptr, existed, true, false))
        return {};
    const BackgroundTask task(
        [work = std::move(work)] {
            // The update check reads its document with MSXML, a COM object.
            const Win32::API::ComApartment com(COINIT_MULTITHREADED);
            return work();
        },
        [done] { ::SetEvent(done->Get()); });
    if (!task.Started())
        return {};

    switch (PumpUntilSignalled(done->Get(), limit, filter)) {
        case PumpEnd::Signalled:
            return {PumpedWork::End::Finished, task.Result()};
        case PumpEnd::Quit:
            return {PumpedWork::End::Quit, std::nullopt};
        case PumpEnd::Failed:
            if (task.WaitFor(limit))
                return {PumpedWork::End::Finished, task.Result()};
            break;
        case PumpEnd::TimedOut:
            break;
    }
    return {PumpedWork::End::TimedOut, std::nullopt};
}

}  // namespace threads
