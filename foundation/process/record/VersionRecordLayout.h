#pragma once
// The native build's version record: a marker followed by the fixed version information, placed
// in every program file. The marker is kept masked in code so that only the record itself holds
// it in plain form, and the reader never finds its own search key.

#include <cstddef>

#include "foundation/process/FileVersion.h"

constexpr std::size_t kVersionMarkerSize = 16;
constexpr unsigned char kVersionMarkerMask = 0x5A;
constexpr unsigned char kMaskedVersionMarker[kVersionMarkerSize] = {0x66, 0x2c, 0x35, 0x39, 0x3b, 0x38, 0x28, 0x3b,
                                                                    0x77, 0x2c, 0x3f, 0x28, 0x29, 0x33, 0x35, 0x34};

struct EmbeddedVersionRecord {
    unsigned char marker[kVersionMarkerSize];
    FixedFileInfo info;
};
