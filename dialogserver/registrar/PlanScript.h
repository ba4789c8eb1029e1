#pragma once
// The registrar: turns a registration script into the registry changes that register or
// unregister what it describes, without touching the registry (ApplyOperations_win32.h does that).
//
// Registration creates every key the script names (opening it when present), deleting the tree of
// a ForceRemove key first, and writes default values ("= s 'text'") and named values ("val name
// = s 'text'"). Unregistration deletes each key the script names with its tree, except NoRemove
// keys and keys that hold one, and deletes the named values written inside kept keys (a value
// marked NoRemove stays). Deletions of what is not there succeed, so unregistering twice is safe.
//
// Per user, every HKEY_CLASSES_ROOT of the script becomes HKEY_CURRENT_USER\Software\Classes.

#include <cstdint>
#include <string_view>
#include <vector>

#include "dialogserver/registrar/Operation.h"
#include "dialogserver/registrar/Status.h"
#include "dialogserver/registrar/Variables.h"

namespace dialogserver::registrar {

// kOk with the plan in `operations`, or a script error (Status.h) with `operations` empty: a
// damaged script plans nothing at all.
std::int32_t PlanScript(std::u16string_view script,
                        const Replacements& replacements,
                        bool registering,
                        bool perUser,
                        std::vector<Operation>& operations);

}  // namespace dialogserver::registrar
