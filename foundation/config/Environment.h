#pragma once
// Facts about the running program and its system: where its file is, which user-interface
// language it speaks, which operating-system generation it runs on.

#include <cstddef>
#include <string>

#include "foundation/config/ResourceIds.h"

// Separator of the platform's paths; the string table's relative paths use it too.
#ifdef _WIN32
constexpr char16_t kPathSeparator = u'\\';
#else
constexpr char16_t kPathSeparator = u'/';
#endif

// Paths longer than this (in UTF-16 units, without the terminator) are refused, never cut.
constexpr std::size_t kMaxPathLength = 259;

enum class UiLanguage { English, Russian };

// The full path of the running program's file; "" when it cannot be had or is too long.
std::u16string GetModuleFilePath();
// GetModuleFilePath() cut after its last separator (so it ends in one); "" on failure.
std::u16string GetModuleDirectory();
// The part of `path` up to and including its last separator; "" when there is none.
std::u16string DirectoryOf(const std::u16string& path);

// The user-interface language: Russian when the system's is Russian, otherwise English.
UiLanguage GetUiLanguage();
// The language the program's texts are in: the override when one is set, else GetUiLanguage().
UiLanguage GetTextLanguage();
// A string of the program's string table in the user-interface language; "" for an unknown id.
std::u16string LoadResourceString(unsigned id);
std::u16string LoadResourceString(unsigned id, UiLanguage language);

// Points the program at another program folder and language than its own (the lookup tool's
// options; tests). An empty folder and no language restore the program's own.
void SetModuleDirectoryOverride(const std::u16string& directory);
void SetUiLanguageOverride(const UiLanguage* language);

// True from Windows Vista on (major version above 5); always true on POSIX. Cached.
bool IsVistaOrLater();
