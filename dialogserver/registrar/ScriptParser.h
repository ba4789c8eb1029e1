#pragma once
// Reads the registrar's script language into a tree. The language, as far as the scripts use it:
//
//   script   := block+
//   block    := root "{" entry* "}"          root: HKCR HKCU HKLM HKU or their HKEY_ names
//   entry    := [ForceRemove | NoRemove] name ["=" "s" text] ["{" entry* "}"]
//             | [NoRemove] "val" name "=" "s" text
//
// Keywords and root names are bare words in any ASCII case; names and texts are bare words or
// quoted. Anything else (including the language's "Delete" and its d, m and b value types) is an
// error, and so is breaking one of the limits of Limits.h. Nesting is bounded, so the recursion is.

#include <cstdint>
#include <vector>

#include "dialogserver/registrar/ScriptTree.h"
#include "dialogserver/registrar/Tokenizer.h"

namespace dialogserver::registrar {

// kOk with the script's blocks, or the script error found (and `blocks` empty).
std::int32_t ParseScript(const std::vector<Token>& tokens, std::vector<ScriptBlock>& blocks);

}  // namespace dialogserver::registrar
