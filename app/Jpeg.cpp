#include "app/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "model/FileWriter.h"

namespace velta {

namespace {

// libjpeg's default error handler ends the process; this one jumps back to
// the caller instead.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void silent(j_common_ptr) {}

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The decoding itself; kept free of objects with destructors because a
// libjpeg error leaves it through longjmp.
bool decodeInto(std::FILE* file, QImage& out)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.output_message = silent;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    if (cinfo.output_components != 3 || w <= 0 || h <= 0 || w > 16384 || h > 16384) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    out = QImage(w, h, QImage::Format_RGB888);
    if (out.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Encodes into a buffer that libjpeg allocates and grows; the caller frees
// *buffer (also after a failure, when it may already hold a part).
bool encodeTo(unsigned char** buffer, unsigned long* size, const QImage& rgb, int quality)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.output_message = silent;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

QImage decodeJpeg(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    QImage out;
    if (!decodeInto(file.get(), out)) return {};
    return out;
}

QByteArray encodeJpegBytes(const QImage& image, int quality)
{
    if (image.isNull()) return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = encodeTo(&buffer, &size, rgb, quality);
    QByteArray bytes;
    if (ok && buffer && size > 0) bytes = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return bytes;
}

bool encodeJpeg(const QImage& image, const std::string& path, int quality)
{
    const QByteArray bytes = encodeJpegBytes(image, quality);
    if (bytes.isEmpty()) return false;
    try {
        writeFileAtomically(path, bytes);
    } catch (const FileWriteError&) {
        return false;
    }
    return true;
}

}  // namespace velta
