// Writes 8-bit RGB images as PNG files without any image library: the pixel
// rows go into zlib "stored" blocks (no compression), which every PNG reader
// accepts. Used for editor screenshots, where a few hundred kilobytes per file
// do not matter and an encoder of our own keeps the output byte-identical
// wherever the tool runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vsthost {

// rgb: width * height * 3 bytes, rows top to bottom, each pixel red, green,
// blue. Answers false (and writes nothing usable) when the size is not
// positive, rgb is too short or the file cannot be written.
bool writePngRgb(const std::string& path, int32_t width, int32_t height,
                 const std::vector<uint8_t>& rgb);

// The same file as bytes in memory.
std::vector<uint8_t> encodePngRgb(int32_t width, int32_t height, const std::vector<uint8_t>& rgb);

}  // namespace vsthost
