// The two JPEG pictures go through libjpeg with our own error handling:
// damaged data must give a null image, never a crash, a hang or an exit,
// and a decoded image must have the size its header claims.
#include <cstdint>

#include <QByteArray>
#include <QImage>

#include "fuzz/check.h"
#include "resources/jpeg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage image = resources::DecodeJpeg(bytes);
    if (image.isNull())
        return 0;
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(static_cast<long long>(image.width()) * image.height() <= 64LL * 1024 * 1024);
    // Every row was written by the decoder: reading them all must stay inside
    // the image.
    unsigned sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width() * 4; ++x)
            sum += row[x];
    }
    volatile unsigned keep = sum;
    (void)keep;
    return 0;
}
