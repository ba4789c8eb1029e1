#include "update/WaitCursor.h"

namespace update {

// A console program has no cursor to change.
WaitCursor::WaitCursor() = default;
WaitCursor::~WaitCursor() = default;

}  // namespace update
