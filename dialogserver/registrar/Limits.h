#pragma once
// Bounds on what a script may hold. The shipped scripts are far inside them; they keep a damaged
// or hostile script from costing more than a little time and memory.

#include <cstddef>

namespace dialogserver::registrar {

// Units (UTF-16) of script text as carried in the program.
constexpr std::size_t kMaxScriptLength = std::size_t{64} * 1024;
// Units of script text once its variables are replaced.
constexpr std::size_t kMaxExpandedLength = std::size_t{256} * 1024;
// Keys inside keys, counting the keys directly in a root block as level 1.
constexpr std::size_t kMaxNesting = 32;
// The registry's own limits on one key name and one value name.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
// A key's path below its root key, backslashes included.
constexpr std::size_t kMaxKeyPathLength = 512;

}  // namespace dialogserver::registrar
