// Portable code passes these values straight to Win32, so they must be the system's own.
#include <windows.h>

#include "foundation/win32api/SystemConstants.h"

namespace Win32::API {

static_assert(kGenericRead == GENERIC_READ);
static_assert(kGenericWrite == GENERIC_WRITE);
static_assert(kFileShareRead == FILE_SHARE_READ);
static_assert(kFileShareWrite == FILE_SHARE_WRITE);
static_assert(kFileShareDelete == FILE_SHARE_DELETE);
static_assert(kCreateNew == CREATE_NEW);
static_assert(kCreateAlways == CREATE_ALWAYS);
static_assert(kOpenExisting == OPEN_EXISTING);
static_assert(kOpenAlways == OPEN_ALWAYS);
static_assert(kTruncateExisting == TRUNCATE_EXISTING);
static_assert(kFileAttributeNormal == FILE_ATTRIBUTE_NORMAL);

// The predefined keys (HKEY_CURRENT_USER, ...) are pointer casts, not constants: PredefinedKey
// builds them the way <windows.h> does.

static_assert(kRegNone == REG_NONE);
static_assert(kRegSz == REG_SZ);
static_assert(kRegExpandSz == REG_EXPAND_SZ);
static_assert(kRegBinary == REG_BINARY);
static_assert(kRegDword == REG_DWORD);
static_assert(kRegMultiSz == REG_MULTI_SZ);
static_assert(kRegQword == REG_QWORD);

static_assert(kRegOptionNonVolatile == REG_OPTION_NON_VOLATILE);
static_assert(kKeyAllAccess == KEY_ALL_ACCESS);
static_assert(kKeyRead == KEY_READ);
static_assert(kRegCreatedNewKey == REG_CREATED_NEW_KEY);
static_assert(kRegOpenedExistingKey == REG_OPENED_EXISTING_KEY);

}  // namespace Win32::API
