// Linked into every native program: its version, where GetFileVersion looks for it.
#include "foundation/process/record/VersionRecordLayout.h"

namespace {
constexpr unsigned char Unmask(std::size_t i) noexcept
{
    return static_cast<unsigned char>(kMaskedVersionMarker[i] ^ kVersionMarkerMask);
}

constexpr std::uint32_t High(unsigned value) noexcept
{
    return static_cast<std::uint32_t>(value) << 16;
}
}  // namespace

extern "C" __attribute__((used)) const EmbeddedVersionRecord vocabra_embedded_version_record = {
    {Unmask(0), Unmask(1), Unmask(2), Unmask(3), Unmask(4), Unmask(5), Unmask(6), Unmask(7), Unmask(8), Unmask(9),
     Unmask(10), Unmask(11), Unmask(12), Unmask(13), Unmask(14), Unmask(15)},
    {kFixedFileInfoSignature, 0x00010000u, High(VOCABRA_VERSION_MAJOR) | VOCABRA_VERSION_MINOR,
     High(VOCABRA_VERSION_PATCH) | VOCABRA_VERSION_TWEAK, High(VOCABRA_VERSION_MAJOR) | VOCABRA_VERSION_MINOR,
     High(VOCABRA_VERSION_PATCH) | VOCABRA_VERSION_TWEAK, 0x3Fu, 0, 0x40004u, 1u, 0, 0, 0}};
