// The native build has no version resources: every program embeds a version record instead
// (record/EmbeddedVersionRecord.cpp), found here by its marker.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/process/FileVersion.h"
#include "foundation/process/record/VersionRecordLayout.h"
#include "foundation/text/Utf.h"

bool GetFileVersion(const std::u16string& path, FixedFileInfo& info)
{
    std::ifstream file(text::Utf16ToUtf8(path), std::ios::binary);
    if (!file)
        return false;
    const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    char marker[kVersionMarkerSize];
    for (std::size_t i = 0; i < kVersionMarkerSize; ++i)
        marker[i] = static_cast<char>(kMaskedVersionMarker[i] ^ kVersionMarkerMask);
    auto found = std::search(content.begin(), content.end(), marker, marker + kVersionMarkerSize);
    while (found != content.end()) {
        const std::size_t offset = static_cast<std::size_t>(found - content.begin()) + kVersionMarkerSize;
        FixedFileInfo candidate{};
        if (offset + sizeof candidate <= content.size()) {
            std::memcpy(&candidate, content.data() + offset, sizeof candidate);
            if (candidate.dwSignature == kFixedFileInfoSignature) {
                info = candidate;
                return true;
            }
        }
        found = std::search(found + 1, content.end(), marker, marker + kVersionMarkerSize);
    }
    return false;
}
