#pragma once
// JPEG pictures read and written with libjpeg.
#include <QByteArray>
#include <QImage>
#include <string>

namespace velta {

// The picture in `path`, or a null image when the file is missing or is not
// a JPEG picture libjpeg can decode.
QImage decodeJpeg(const std::string& path);

// `image` as a baseline JPEG (quality 0..100), or empty bytes when it cannot
// be encoded.
QByteArray encodeJpegBytes(const QImage& image, int quality = 90);

// Encodes `image` in memory and writes it with the checked writer, which
// keeps the previous file when the write fails. False on failure.
bool encodeJpeg(const QImage& image, const std::string& path, int quality = 90);

}  // namespace velta
