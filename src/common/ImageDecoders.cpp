#include "ImageDecoders.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
// jerror.h after jpeglib.h gives the message codes as an enumeration.
#include <jerror.h>

namespace {
// libjpeg reports fatal errors by calling error_exit, which must not return; it jumps back to the
// decoder instead. A premature end of the data is only a warning to libjpeg (it pads the picture
// with grey); here it is fatal too.
struct JpegErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
        std::longjmp(err->jump, 1);
    }
}

void jpegOutputMessage(j_common_ptr)
{
    // Nothing goes to stderr: a broken banner is a normal event, not a diagnostic.
}

// Everything that lives across the jump is either outside this frame (`out`) or owned by libjpeg's
// own memory manager, so the jump skips no destructor and leaves no object half made.
bool decodeJpegInto(const QByteArray& data, QImage* out)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.emit_message = jpegEmitMessage;
    err.pub.output_message = jpegOutputMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(
        &cinfo, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // Before jpeg_start_decompress, which already allocates in proportion to the picture (a progressive
    // picture's coefficients above all).
    if (!ImageDecoders::withinBudget(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // libjpeg-turbo writes straight into QImage's 0xffRRGGBB words (B, G, R, X in memory).
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);

    *out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), QImage::Format_RGB32);
    if (out->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*cinfo.mem->alloc_sarray)(
            reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, cinfo.output_width * 4, 1);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (!cmyk) {
            JSAMPROW row = out->scanLine(y);
            jpeg_read_scanlines(&cinfo, &row, 1);
            continue;
        }
        jpeg_read_scanlines(&cinfo, cmykRow, 1);
        // Adobe writes CMYK inverted, which is what nearly every CMYK JPEG in the wild carries.
        auto* target = reinterpret_cast<QRgb*>(out->scanLine(y));
        const JSAMPLE* p = cmykRow[0];
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x, p += 4) {
            const int k = p[3];
            target[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct GifSource
{
    const GifByteType* data;
    qsizetype left;
};

int gifRead(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* source = static_cast<GifSource*>(gif->UserData);
    const int n = static_cast<int>(qMin<qsizetype>(length, source->left));
    std::memcpy(buffer, source->data, static_cast<size_t>(n));
    source->data += n;
    source->left -= n;
    return n;
}

struct GifCloser
{
    GifFileType* gif;
    ~GifCloser()
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

QImage decodeFirstGifFrame(GifFileType* gif)
{
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return {};
        if (type == TERMINATE_RECORD_TYPE)
            return {};
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return {};
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return {};
            }
            continue;
        }
        if (type == IMAGE_DESC_RECORD_TYPE)
            break;
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        return {};

    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map || !ImageDecoders::withinBudget(frame.Width, frame.Height) || frame.Left < 0 || frame.Top < 0)
        return {};

    // A screen of 0 x 0 (some encoders write it) means "as big as the frame".
    int width = gif->SWidth;
    int height = gif->SHeight;
    int left = frame.Left;
    int top = frame.Top;
    if (width <= 0 || height <= 0) {
        width = frame.Width;
        height = frame.Height;
        left = top = 0;
    }
    if (!ImageDecoders::withinBudget(width, height))
        return {};

    const bool coversScreen = left == 0 && top == 0 && frame.Width >= width && frame.Height >= height;
    const bool alpha = transparent != NO_TRANSPARENT_COLOR || !coversScreen;
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);

    QRgb palette[256];
    for (int i = 0; i < 256; ++i) {
        if (i < map->ColorCount && i != transparent)
            palette[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        else
            palette[i] = qRgba(0, 0, 0, 0);
    }

    // Interlaced frames arrive in four passes: every 8th row from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    std::vector<int> rowOrder;
    rowOrder.reserve(static_cast<size_t>(frame.Height));
    if (frame.Interlace) {
        static const int start[] = { 0, 4, 2, 1 };
        static const int step[] = { 8, 8, 4, 2 };
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < frame.Height; y += step[pass])
                rowOrder.push_back(y);
    } else {
        for (int y = 0; y < frame.Height; ++y)
            rowOrder.push_back(y);
    }

    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
    for (const int row : rowOrder) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
            return {};
        const int y = top + row;
        if (y >= height)
            continue;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int count = qMin(frame.Width, width - left);
        for (int x = 0; x < count; ++x)
            target[left + x] = palette[line[static_cast<size_t>(x)]];
    }
    return image;
}
} // namespace

namespace {
// Through Qt's readers: that of `format` alone when one is named, else the one the content calls for.
QImage decodeWithQt(const QByteArray& data, const QByteArray& format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(format.isEmpty());
    // Qt's readers too are held to the budget by the size their header declares; a reader that cannot
    // tell is held by the allocation limit (in whole megabytes, four bytes a pixel). That limit is one for
    // every reader of the process, and pictures are decoded on worker threads too, so it is set once.
    static const bool allocationLimited = [] {
        QImageReader::setAllocationLimit(int(ImageDecoders::MaxPixels * 4 / 1024 / 1024));
        return true;
    }();
    Q_UNUSED(allocationLimited)
    const QSize size = reader.size();
    if (size.isValid() && !ImageDecoders::withinBudget(size.width(), size.height()))
        return {};
    return reader.read();
}
} // namespace

bool ImageDecoders::withinBudget(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= MaxSide && height <= MaxSide && width * height <= MaxPixels;
}

QImage ImageDecoders::decodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    QImage image;
    if (!decodeJpegInto(data, &image))
        return {};
    return image;
}

QImage ImageDecoders::decodeGif(const QByteArray& data)
{
    GifSource source { reinterpret_cast<const GifByteType*>(data.constData()), data.size() };
    int error = 0;
    GifFileType* gif = DGifOpen(&source, gifRead, &error);
    if (!gif)
        return {};
    GifCloser closer { gif };
    return decodeFirstGifFrame(gif);
}

QImage ImageDecoders::decode(const QByteArray& data)
{
    if (data.size() >= 3 && static_cast<unsigned char>(data[0]) == 0xFF && static_cast<unsigned char>(data[1]) == 0xD8
        && static_cast<unsigned char>(data[2]) == 0xFF)
        return decodeJpeg(data);
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return decodeGif(data);
    return decodeWithQt(data, QByteArray());
}

QImage ImageDecoders::decodeAs(const QByteArray& data, const QString& extension)
{
    if (extension.compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0)
        return decodeGif(data);
    if (extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0
        || extension.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0)
        return decodeJpeg(data);
    return decodeWithQt(data, extension.toLower().toLatin1());
}

QImage ImageDecoders::decodeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decode(file.readAll());
}
