// Decoding JPEG pictures through libjpeg.
#include "resources/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace resources {

namespace {

// libjpeg reports fatal errors through error_exit, whose default calls
// exit(). Ours jumps back to the setjmp of the step that is running.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Level -1 is a warning about corrupt data, e.g. "Premature end of JPEG
// file": libjpeg would go on and fill the missing rows with grey. A picture
// with made-up rows is a damaged picture, so treat it as an error.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0)
        OnError(info);
}

void Silent(j_common_ptr) {}

// A damaged header may claim any size up to 65500 x 65500: far more than
// any picture of the program, and too much to allocate on a whim.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

// The two steps that call into libjpeg. Each holds its own setjmp and no
// object with a destructor, so a longjmp out of libjpeg skips nothing.
bool StartDecoding(jpeg_decompress_struct& info, ErrorManager& errors, const QByteArray& bytes) {
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height > kMaxPixels)
        return false;
    // Straight into the layout of QImage::Format_RGB32 (grey pictures are
    // widened by libjpeg-turbo, which sets the fourth byte to 0xFF): the
    // image needs no converting copy when it is scaled or made a pixmap.
    info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&info);
    return info.output_components == 4;
}

bool ReadRows(jpeg_decompress_struct& info, ErrorManager& errors, uchar* bits, qsizetype stride) {
    if (setjmp(errors.jump))
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.base.output_message = Silent;

    QImage image;
    if (StartDecoding(info, errors, bytes)) {
        image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                       QImage::Format_RGB32);
        if (!image.isNull() && !ReadRows(info, errors, image.bits(), image.bytesPerLine()))
            image = QImage();
    }
    jpeg_destroy_decompress(&info);  // also right after a failed or partial create
    return image;
}

QImage LoadJpegResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpeg(file.readAll());
}

}  // namespace resources
