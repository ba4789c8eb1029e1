#pragma once
// Where the lookup history lives and how its file is read and replaced: %APPDATA%\Vocabra\ on
// Windows, $XDG_STATE_HOME/vocabra/ (~/.local/state/vocabra/) on Linux.

#include <string>
#include <vector>

#include "tray/LookupHistory.h"

namespace tray {

// The folder's history.tsv; empty when the folder cannot be known (no profile).
std::string HistoryFilePath();

// Platform: the file's bytes; false when it cannot be read (a missing file reads as empty).
bool ReadHistoryFile(const std::string& path, std::string& text);
// Platform: the text written whole to a new file in the same folder (made when missing), then put
// in the file's place in one step, so that a crash or a full disk leaves the old file as it was.
bool ReplaceHistoryFile(const std::string& path, const std::string& text);
// Platform: the text added at the end of the file, made when missing.
bool AppendToHistoryFile(const std::string& path, const std::string& text);

// The entries of the file at `path` as far as it is sound. The rest is added to
// `path` + ".damaged", and the file is written again without it; the user is not bothered.
std::vector<HistoryEntry> LoadHistory(const std::string& path);
bool SaveHistory(const std::string& path, const std::vector<HistoryEntry>& entries);

}  // namespace tray
