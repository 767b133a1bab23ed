#include "platform/files/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include "platform/files/bitmap16.h"
#include "platform/files/bitmap_part.h"
#include "platform/files/bitmap_rle.h"
#include "platform/files/gif_frame.h"
#include "platform/files/gif_part.h"
#include "platform/files/jpeg_frame.h"
#include "platform/files/picture_integrity.h"
#include "platform/files/png_rows.h"

namespace kalidor {

namespace {

// What Open reads. Qt's other readers (PPM, XBM, XPM and the like) hand back
// the part of a cut-off file they could read as if it were the whole picture.
bool readable(const QByteArray& format)
{
    return format == "bmp" || format == "ico" || format == "gif" || format == "jpeg" || format == "png";
}

long long pixels(const QSize& size) { return static_cast<long long>(size.width()) * size.height(); }

LoadedPicture failed(OpenFailure why, QSize size = {})
{
    LoadedPicture result;
    result.failure = why;
    if (size.isValid()) {
        result.width = size.width();
        result.height = size.height();
    }
    return result;
}

// The picture's size as the reader hands it back. Qt's GIF reader tells the
// size of the first image, but hands back a picture of the whole logical
// screen the file declares; its bitmap reader tells a bitmap stored from the
// top down as of negative height.
QSize storedSize(QImageReader& reader, const QByteArray& format, QIODevice& again)
{
    if (format == "gif")
        if (const std::optional<GifFrame> frame = readGifFrame(again))
            return QSize(frame->screenWidth, frame->screenHeight);
    const QSize told = reader.size();
    return format == "bmp" && told.height() < 0 ? QSize(told.width(), -told.height()) : told;
}

// Formats whose top-left part is read alone: JPEG clipped by Qt's reader,
// PNG, GIF and run-length bitmaps by readers of their own, plain bitmaps cut
// out of the file. Icons are small, and rare kinds of bitmap are read whole.
bool readsInPart(const QByteArray& format, QIODevice& file)
{
    return format == "jpeg" || format == "png" || format == "gif" ||
           (format == "bmp" && (bitmapRowsPlain(file) || bitmapRunLength(file)));
}

// Where the top-left `shown` pixels of a JPEG turned upright lie in the file's
// own rows: the reader cuts them out before it turns them. Mirrors come first,
// then the quarter turn clockwise.
QRect storedPart(QSize stored, QSize shown, QImageIOHandler::Transformations turn)
{
    QRect part = turn & QImageIOHandler::TransformationRotate90
                     ? QRect(0, stored.height() - shown.width(), shown.height(), shown.width())
                     : QRect(QPoint(0, 0), shown);
    if (turn & QImageIOHandler::TransformationMirror)
        part.moveLeft(stored.width() - part.left() - part.width());
    if (turn & QImageIOHandler::TransformationFlip)
        part.moveTop(stored.height() - part.top() - part.height());
    return part;
}

// libjpeg gathers a progressive JPEG whole, as coefficients, however little of
// it is shown: 1.5 to 3 bytes a pixel as cameras write them. Held to twice the
// memory of the largest picture read whole, a 12000 x 9000 photo still opens,
// and a small file that declares a vast picture is refused before libjpeg
// allocates it.
bool gatheredBeyond(QIODevice& file, LoadLimits limits)
{
    const std::optional<JpegFrame> frame = jpegFrame(file);
    return frame && frame->gatheredWhole && frame->coefficientBytes > limits.maxPixels * 8;
}

LoadedPicture decode(QIODevice& data, QIODevice& again, LoadLimits limits);

// The top-left `decoded` of a PNG, GIF or run-length bitmap, decoded by
// Kalidor's own readers as the file is read.
LoadedPicture ownPart(const QByteArray& format, QIODevice& again, QSize decoded, QSize upright)
{
    std::optional<QImage> part = format == "png"   ? readPngTopLeft(again, decoded, kMaxPictureSide)
                                 : format == "gif" ? readGifTopLeft(again, decoded)
                                                   : readRunLengthTopLeft(again, decoded);
    if (!part)
        return failed(OpenFailure::Damaged, upright);
    LoadedPicture result = failed(OpenFailure::None, upright);
    result.picture = Picture(*part);
    return result;
}

// The top-left `decoded` of a plain bitmap, cut out of the file into a small
// bitmap of its own and decoded as any other.
LoadedPicture bitmapPart(QIODevice& again, QSize decoded, QSize upright, LoadLimits limits)
{
    std::optional<QByteArray> part = bitmapTopLeft(again, decoded);
    if (!part)
        return failed(OpenFailure::Damaged, upright);
    QBuffer partData(&*part), partAgain(&*part);
    if (!partData.open(QIODevice::ReadOnly) || !partAgain.open(QIODevice::ReadOnly))
        return failed(OpenFailure::Damaged, upright);
    LoadedPicture result = decode(partData, partAgain, limits);
    result.width = upright.width();
    result.height = upright.height();
    return result;
}

// Why the file is refused before its pixels are decoded, from its header and
// structure alone: nothing where they are sound.
std::optional<LoadedPicture> refusedUnread(const QByteArray& format, QSize stored, QSize upright, QSize decoded,
                                           QIODevice& again, LoadLimits limits)
{
    if (stored.isValid() && stored.isEmpty())
        return failed(OpenFailure::Damaged);
    if (stored.width() > kMaxPictureSide || stored.height() > kMaxPictureSide)
        return failed(OpenFailure::TooLarge, upright);
    // Some decoders hand back the part of a cut-off file they could read.
    if (!isComplete(again, format))
        return failed(OpenFailure::Damaged, upright);
    if (format == "jpeg" && gatheredBeyond(again, limits))
        return failed(OpenFailure::TooLarge, upright);
    if (stored.isValid() && pixels(decoded) > limits.maxPixels)
        return failed(OpenFailure::TooLarge, upright);
    return std::nullopt;
}

// A picture decoded whole, held to the limits and cut to the part shown;
// `size` is the picture's own size to report.
LoadedPicture withinLimits(QImage image, QSize size, LoadLimits limits)
{
    if (pixels(image.size()) > limits.maxPixels || image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return failed(OpenFailure::TooLarge, image.size());
    LoadedPicture result = failed(OpenFailure::None, size);
    // Read whole, but no more of it is ever shown.
    const QSize shown = image.size().boundedTo(QSize(limits.shownWidth, limits.shownHeight));
    if (shown != image.size())
        image = image.copy(QRect(QPoint(0, 0), shown));
    result.picture = Picture(image);
    return result;
}

// The picture decoded whole by Qt's reader (or the part its clip asks for),
// then held to the limits and cut to the part shown.
LoadedPicture readByQt(QImageReader& reader, const QByteArray& format, QSize stored, QSize upright,
                       QIODevice& again, LoadLimits limits)
{
    QImage image = reader.read();
    if (image.isNull())
        return failed(OpenFailure::Damaged, upright);
    // A reader that told no size before decoding is held to the limits now.
    if (pixels(image.size()) > limits.maxPixels || image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return failed(OpenFailure::TooLarge, image.size());
    if (format == "bmp")
        if (std::optional<QImage> exact = fullRangeBitmap16(again, image))
            image = std::move(*exact);
    const QSize size = stored.isValid() ? upright : image.size();
    return withinLimits(std::move(image), size, limits);
}

// Reads a picture from `data`; `again` holds the same bytes, read through once
// to check that the file is complete before the decoder sees it.
LoadedPicture decode(QIODevice& data, QIODevice& again, LoadLimits limits)
{
    // Also bounds the readers that learn a picture's size only while decoding.
    QImageReader::setAllocationLimit(static_cast<int>(limits.maxPixels * 4 / (1024 * 1024)));
    QImageReader reader(&data);
    reader.setDecideFormatFromContent(true);
    // A photo marked as taken on its side is shown upright, turned as marked.
    reader.setAutoTransform(true);
    // Asked first: once the header is read, some readers (ICO) no longer say.
    const QByteArray format = reader.format();
    if (!readable(format))
        return failed(OpenFailure::NotAPicture);
    const QSize stored = storedSize(reader, format, again);
    const QImageIOHandler::Transformations turn = format == "jpeg" ? reader.transformation()
                                                                   : QImageIOHandler::TransformationNone;
    const QSize upright = turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    const QSize decoded = readsInPart(format, again) ? upright.boundedTo(QSize(limits.shownWidth, limits.shownHeight))
                                                     : upright;
    if (std::optional<LoadedPicture> refused = refusedUnread(format, stored, upright, decoded, again, limits))
        return *refused;
    if (stored.isValid() && decoded != upright) {
        if (format == "jpeg")
            reader.setClipRect(storedPart(stored, decoded, turn));
        else if (format == "bmp" && bitmapRowsPlain(again))
            return bitmapPart(again, decoded, upright, limits);
        else
            return ownPart(format, again, decoded, upright);
    }
    return readByQt(reader, format, stored, upright, again, limits);
}

// Why a file that exists cannot be opened for reading, in plain words.
std::string unreadable(const QFile& file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return "there is no such file";
    if (info.isDir())
        return "it is a folder";
    if (!info.isReadable())
        return "you have no permission to read it";
    return file.errorString().toStdString();
}

}  // namespace

LoadedPicture ReadPicture(const std::string& fileName, LoadLimits limits)
{
    const QString name = QString::fromStdString(fileName);
    QFile data(name), again(name);
    // A folder opens as a file of no bytes.
    if (name.isEmpty() || QFileInfo(name).isDir() || !data.open(QIODevice::ReadOnly) ||
        !again.open(QIODevice::ReadOnly)) {
        LoadedPicture result = failed(OpenFailure::Unreadable);
        result.reason = unreadable(data);
        return result;
    }
    return decode(data, again, limits);
}

LoadedPicture ReadPicture(std::span<const std::byte> bytes, LoadLimits limits)
{
    const QByteArray view = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QBuffer data, again;
    data.setData(view);
    again.setData(view);
    if (!data.open(QIODevice::ReadOnly) || !again.open(QIODevice::ReadOnly))
        return failed(OpenFailure::Unreadable);
    return decode(data, again, limits);
}

LoadedPicture TakePicture(const Picture& picture, LoadLimits limits)
{
    return withinLimits(picture.image(), picture.image().size(), limits);
}

std::optional<Picture> LoadPicture(const std::string& fileName) { return ReadPicture(fileName, LoadLimits{}).picture; }

std::optional<Picture> LoadPicture(std::span<const std::byte> bytes, long long maxPixels)
{
    LoadLimits limits;
    limits.maxPixels = maxPixels;
    return ReadPicture(bytes, limits).picture;
}

std::optional<std::string> SavePicture(const Picture& picture, const std::string& fileName, PictureFormat format)
{
    const QString name = QString::fromStdString(fileName);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString();
    QImageWriter writer(&file, format == PictureFormat::Png ? "png" : "bmp");
    const bool written = writer.write(picture.image());
    // The last buffered bytes reach the file only when flushed, and commit does
    // not notice when the system takes only part of them: a short file would
    // replace the old one as if saved. A second flush retries the rest, which
    // brings out the system's reason that a write cut short does not give.
    const bool flushed = file.flush() || file.flush();
    if (!written || !flushed) {
        // A failed write of the file itself tells more than the writer's error.
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return reason.toStdString();
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return std::nullopt;
}

}  // namespace kalidor
