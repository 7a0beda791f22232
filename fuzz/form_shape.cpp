// The window outline as it is stored: a length, then region data of rectangles.

#include "FuzzSupport.h"

#include "widgets/FormShapeData.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray stored = FuzzSupport::bytes(data, size);
    QBuffer stream;
    stream.setData(stored);
    stream.open(QIODevice::ReadOnly);
    QByteArray regionData;
    if (!FormShapeData::read(stream, &regionData) || regionData.isEmpty())
        return 0;
    FUZZ_CHECK(FormShapeData::stored(regionData) == stored.left(4 + regionData.size()));

    QVector<QRect> rects;
    QRect bounds;
    FUZZ_CHECK(FormShapeData::parse(regionData, &rects));
    (void)FormShapeData::parse(regionData, nullptr, &bounds);

    // A region turned into data and back is the same region, and its data does not change again.
    const QRegion region = FormShapeData::toRegion(regionData);
    const QByteArray canonical = FormShapeData::regionData(region);
    FUZZ_CHECK(canonical.isEmpty() == region.isEmpty());
    if (canonical.isEmpty())
        return 0;
    FUZZ_CHECK(FormShapeData::parse(canonical, nullptr));
    const QRegion again = FormShapeData::toRegion(canonical);
    FUZZ_CHECK(again == region);
    FUZZ_CHECK(FormShapeData::regionData(again) == canonical);
    return 0;
}
