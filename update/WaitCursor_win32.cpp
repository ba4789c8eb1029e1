#include <windows.h>

#include "update/WaitCursor.h"

namespace update {

WaitCursor::WaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

WaitCursor::~WaitCursor()
{
    SetCursor(static_cast<HCURSOR>(m_previous));
}

}  // namespace update
