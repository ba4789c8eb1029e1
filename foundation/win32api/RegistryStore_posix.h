#pragma once
// The store behind RegKey on POSIX: one .reg-format text file (RegistryFile.h) per user.

#include <functional>
#include <string>

#include "foundation/win32api/RegistryFile.h"

namespace Win32::API {

// $VOCABRA_REGISTRY when set, else vocabra/registry.reg in the XDG configuration folder
// ($XDG_CONFIG_HOME, or $HOME/.config).
bool StoreFilePath(std::string& path);

// The store's current content. A missing file is an empty store; one that cannot be read or
// parsed fails (errno EBADMSG when it does not parse).
bool LoadStore(const std::string& file, RegistryDocument& document);

enum class StoreChange { Write, Keep, Fail };

// Under the store's lock: loads the latest content, lets `change` edit it, and writes it back when
// asked to. Creates missing folders. Fails, leaving the file untouched, when the store does not
// parse, `change` answers Fail (errno as it set it) or the new file cannot be written.
bool ModifyStore(const std::string& file, const std::function<StoreChange(RegistryDocument&)>& change);

}  // namespace Win32::API
