#pragma once
// The user's folders on POSIX, as the XDG base directories name them, and the making of folders
// that files go into.

#include <string>

namespace config {

// $XDG_STATE_HOME when it is an absolute path, else ~/.local/state; empty without a home folder.
std::string XdgStateHome();

// The folder part of a file's path ("." for a bare name, "/" for a file in the root).
std::string FolderOf(const std::string& file);

// Like mkdir -p, each new folder private to the user (0700); false, with errno, when one cannot be
// made.
bool CreateFolders(const std::string& folder);

}  // namespace config
