// BMP bitmap files: the sprite sheet (8-bit palette) and the editor palette (24-bit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/raster.h"

namespace platform {

// Decodes an uncompressed 8-bit (palette) or 24-bit bitmap into RGB; a palette picture
// is expanded once, here. Throws std::runtime_error on anything else or on bad bytes.
Surface decodeBmp(const uint8_t* data, size_t size);

// An 8-bit bitmap: `indices` holds width x height palette indices, rows top to bottom.
std::string encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                       const std::vector<Rgb>& palette);

// A 24-bit bitmap of the surface.
std::string encodeBmp24(const Surface& s);

}  // namespace platform
