#pragma once
// The heap setting this library brings to the process that loads it.

namespace browserwindow {

// The tray program opens and closes many small windows and documents: the low-fragmentation heap
// keeps its memory from splintering. True when the system took the setting.
bool UseLowFragmentationHeap();

}  // namespace browserwindow
