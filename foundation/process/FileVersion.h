#pragma once
// The fixed version record of a program file (VS_FIXEDFILEINFO's layout, 52 bytes).

#include <cstdint>
#include <string>

struct FixedFileInfo {
    std::uint32_t dwSignature;
    std::uint32_t dwStrucVersion;
    std::uint32_t dwFileVersionMS;  // major << 16 | minor
    std::uint32_t dwFileVersionLS;  // build << 16 | revision
    std::uint32_t dwProductVersionMS;
    std::uint32_t dwProductVersionLS;
    std::uint32_t dwFileFlagsMask;
    std::uint32_t dwFileFlags;
    std::uint32_t dwFileOS;
    std::uint32_t dwFileType;
    std::uint32_t dwFileSubtype;
    std::uint32_t dwFileDateMS;
    std::uint32_t dwFileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52, "the record is copied out whole");

constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;

// True when `info` was filled from the file's version resource (the native build: the version
// record that every Vocabra program embeds).
bool GetFileVersion(const std::u16string& path, FixedFileInfo& info);
