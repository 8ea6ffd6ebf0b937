#pragma once
// Pictures saved as PNG files through the checked writer.
#include <string>

class QImage;

namespace velta {

// Encodes `image` as PNG in memory and writes it with writeFileAtomically, so
// that a failed write keeps the previous file. Throws FileWriteError, also
// when the picture cannot be encoded.
void writePng(const std::string& path, const QImage& image);

}  // namespace velta
