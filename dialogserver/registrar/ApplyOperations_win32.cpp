// The plan's operations as registry calls. Every key handle is owned by a Win32::API::RegKey.
#include "dialogserver/registrar/ApplyOperations_win32.h"

#include <windows.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"

namespace dialogserver::registrar {

namespace {

using Win32::API::RegKey;

HKEY RootKey(Root root)
{
    switch (root) {
        case Root::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case Root::CurrentUser:
            return HKEY_CURRENT_USER;
        case Root::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case Root::Users:
            return HKEY_USERS;
    }
    return nullptr;
}

LSTATUS LastStatus()
{
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? static_cast<LSTATUS>(ERROR_GEN_FAILURE) : static_cast<LSTATUS>(error);
}

bool IsNotFound(LSTATUS status)
{
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

// Creates the operation's key, or opens it when present, with `access`.
LSTATUS CreateKey(const Operation& operation, REGSAM access, RegKey& key)
{
    return key.Create(RootKey(operation.root), operation.key.c_str(), nullptr, REG_OPTION_NON_VOLATILE, access)
               ? ERROR_SUCCESS
               : LastStatus();
}

LSTATUS SetString(const Operation& operation)
{
    RegKey key;
    if (const LSTATUS status = CreateKey(operation, KEY_SET_VALUE, key); status != ERROR_SUCCESS)
        return status;
    return key.SetString(operation.name.c_str(), operation.data) ? ERROR_SUCCESS : LastStatus();
}

LSTATUS DeleteValue(const Operation& operation)
{
    HKEY opened = nullptr;
    LSTATUS status =
        ::RegOpenKeyExW(RootKey(operation.root), Win32::API::Wide(operation.key), 0, KEY_SET_VALUE, &opened);
    if (status != ERROR_SUCCESS)
        return IsNotFound(status) ? ERROR_SUCCESS : status;
    RegKey key;
    key.Attach(opened);
    if (key.DeleteValue(operation.name.c_str()))
        return ERROR_SUCCESS;
    status = LastStatus();
    return IsNotFound(status) ? ERROR_SUCCESS : status;
}

LSTATUS DeleteTree(const Operation& operation)
{
    const LSTATUS status = ::RegDeleteTreeW(RootKey(operation.root), Win32::API::Wide(operation.key));
    return IsNotFound(status) ? ERROR_SUCCESS : status;
}

LSTATUS Apply(const Operation& operation)
{
    switch (operation.kind) {
        case Operation::Kind::CreateKey: {
            // Read access is enough to create the key, and opens a present key that may not be written.
            RegKey key;
            return CreateKey(operation, KEY_READ, key);
        }
        case Operation::Kind::SetString:
            return SetString(operation);
        case Operation::Kind::DeleteTree:
            return DeleteTree(operation);
        case Operation::Kind::DeleteValue:
            return DeleteValue(operation);
    }
    return ERROR_INVALID_PARAMETER;
}

}  // namespace

std::int32_t ApplyOperations(const std::vector<Operation>& operations)
{
    for (const Operation& operation : operations) {
        if (const LSTATUS status = Apply(operation); status != ERROR_SUCCESS)
            return static_cast<std::int32_t>(HRESULT_FROM_WIN32(static_cast<DWORD>(status)));
    }
    return 0;
}

}  // namespace dialogserver::registrar
