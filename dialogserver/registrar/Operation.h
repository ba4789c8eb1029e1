#pragma once
// One registry change of a registration plan. The plan is computed without the registry; the
// applier carries it out.

#include <string>

namespace dialogserver::registrar {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users };

struct Operation {
    enum class Kind {
        CreateKey,    // create `key`, or open it when present
        SetString,    // REG_SZ value `name` (empty: the default value) of `key`, created when missing
        DeleteTree,   // `key` with all its subkeys and values; a missing key is no failure
        DeleteValue,  // value `name` of `key`; a missing key or value is no failure
    };

    Kind kind = Kind::CreateKey;
    Root root = Root::ClassesRoot;
    std::u16string key;   // path below `root`, components separated by backslashes
    std::u16string name;  // SetString and DeleteValue only
    std::u16string data;  // SetString only
};

}  // namespace dialogserver::registrar
