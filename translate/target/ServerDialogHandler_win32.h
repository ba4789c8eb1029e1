#pragma once
// A dialog server's object as the tray program's targets keep it: an IDispatch of this process
// whose one method, "Detach", is passed on to the server from another thread, within
// kDialogCallLimit, while this thread keeps its messages moving. This thread never holds a proxy
// of the server's object: releasing one waits for the server, however long that hangs, and so the
// object is let go of on another thread too.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

namespace translate::target {

// Takes over the object marshalled (for another thread of this process) into `marshalled`.
Microsoft::WRL::ComPtr<IDispatch> AdoptServerDialogHandler(Microsoft::WRL::ComPtr<IStream> marshalled);

}  // namespace translate::target
