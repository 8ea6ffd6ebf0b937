#include "graphics/PngFile.h"

#include <QBuffer>
#include <QImage>

#include "model/FileWriter.h"

namespace velta {

void writePng(const std::string& path, const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        throw FileWriteError(path, "the picture could not be encoded as PNG");
    buffer.close();
    writeFileAtomically(path, bytes);
}

}  // namespace velta
