#include "PngWriter.h"

#include <QIODevice>
#include <csetjmp>
#include <png.h>
#include <zlib.h>

namespace {

// What the callbacks share; plain data, as libpng leaves a failing call by longjmp.
struct TSink {
    QIODevice *Device = nullptr;
    bool WriteFailed = false;
};

void WriteBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *sink = static_cast<TSink *>(png_get_io_ptr(png));
    if (sink->Device->write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length)) {
        sink->WriteFailed = true;
        png_error(png, "write failed");
    }
}

void Flush(png_structp) {}

void Fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void Warn(png_structp, png_const_charp) {}

// Everything between the jump buffer's setting and libpng's last call: no object with a
// destructor lives here, so a longjmp out of libpng skips nothing.
bool WriteRows(png_structp png, png_infop info, const QImage &rgb32)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, png_uint_32(rgb32.width()), png_uint_32(rgb32.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    // The image's 32-bit pixels are B, G, R, X in memory on little-endian machines and X, R, G,
    // B on big-endian ones: libpng drops the filler and orders the rest.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
#else
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
    for (int y = 0; y < rgb32.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(rgb32.constScanLine(y)));
    png_write_end(png, info);
    return true;
}

} // namespace

bool PngWriter::Write(const QImage &image, QIODevice *device, QString *error)
{
    const QImage rgb32 = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    TSink sink;
    sink.Device = device;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, Fail, Warn);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && !rgb32.isNull()) {
        png_set_write_fn(png, &sink, WriteBytes, Flush);
        ok = WriteRows(png, info, rgb32);
    }
    if (png)
        png_destroy_write_struct(&png, info ? &info : nullptr);
    // Apart from a failed write, libpng fails only for want of memory.
    if (!ok && error)
        *error = sink.WriteFailed ? device->errorString() : QStringLiteral("Недостаточно памяти для схемы такого размера.");
    return ok;
}
