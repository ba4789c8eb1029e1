#pragma once
// A parsed script: root blocks holding keys and named values, in the order the script lists them.

#include <string>
#include <vector>

#include "dialogserver/registrar/Operation.h"

namespace dialogserver::registrar {

enum class Removal {
    Default,      // removed with its tree on unregistration
    ForceRemove,  // also deleted with its tree before it is written again on registration
    NoRemove,     // kept on unregistration; what it holds is still processed
};

struct ScriptEntry {
    enum class Kind { Key, Value };

    Kind kind = Kind::Key;
    Removal removal = Removal::Default;
    std::u16string name;
    bool hasData = false;  // a key's default value is optional; a named value always has data
    std::u16string data;
    std::vector<ScriptEntry> children;  // keys only
};

struct ScriptBlock {
    Root root = Root::ClassesRoot;
    std::vector<ScriptEntry> entries;
};

}  // namespace dialogserver::registrar
