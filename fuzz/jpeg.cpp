// JPEG pictures: banners downloaded from the service's addresses, and the skin's pictures.

#include "FuzzSupport.h"

#include "common/ImageDecoders.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QImage image = ImageDecoders::decodeJpeg(FuzzSupport::bytes(data, size));
    if (image.isNull())
        return 0;
    FUZZ_CHECK(ImageDecoders::withinBudget(image.width(), image.height()));
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    return 0;
}
