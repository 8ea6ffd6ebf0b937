#pragma once
// JPEG pictures read and written with libjpeg.
#include <QImage>
#include <string>

namespace velta {

// The picture in `path`, or a null image when the file is missing or is not
// a JPEG picture libjpeg can decode.
QImage decodeJpeg(const std::string& path);

// Writes `image` as a baseline JPEG (quality 0..100). False on failure.
bool encodeJpeg(const QImage& image, const std::string& path, int quality = 90);

}  // namespace velta
