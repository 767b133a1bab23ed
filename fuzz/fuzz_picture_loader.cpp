// libFuzzer's entry: every input goes to the picture loader exactly as Open
// hands it a file's bytes, with the pixel limit lowered to 1024 x 1024 so that
// no input may take long or much memory (run_fuzzer.sh bounds the memory).
// Besides the sanitizers' reports, a picture handed back must be one the canvas
// can take, not empty and within the limit, and the file must be whole: a part
// of it cut off at the end either fails or gives the same picture (a PNG
// without its end chunk still holds every pixel). A JPEG whose data the
// decoder found corrupt is damaged whole: libjpeg fills what it lost, reading
// on for a place to start again, so what it shows may hang on any byte.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>

#include <time.h>

#include <QCoreApplication>
#include <QLatin1String>
#include <QImage>

#include "platform/files/picture_file.h"

namespace {

constexpr long long kFuzzPixels = 1024 * 1024;  // 4 MB of pixels

// Whether the decoder said, since this was last cleared, that it met corrupt data.
bool corruptData = false;

double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A load that takes more than a second of processor time hangs, however busy
// the machine; libFuzzer's own time limit catches one that never returns.
std::optional<kalidor::Picture> load(const std::uint8_t* data, std::size_t size)
{
    const double start = processorSeconds();
    // A canvas of 512 x 384 at most, so that large pictures are read in part,
    // as Open reads them.
    const kalidor::LoadLimits limits{512, 384, kFuzzPixels};
    auto picture = kalidor::ReadPicture(std::as_bytes(std::span(data, size)), limits).picture;
    if (const double spent = processorSeconds() - start; spent > 1.0) {
        std::fprintf(stderr, "the first %zu bytes took %.2f s to load\n", size, spent);
        std::abort();
    }
    return picture;
}

// Whether some part of the input, cut off at the end, passes for a different
// picture. The cuts fall in the last bytes, where a file's end structure is,
// and at every eighth of it.
bool aCutPassesFor(const std::uint8_t* data, std::size_t size, const QImage& whole)
{
    // Compared by colour: QImage's own comparison of indexed pictures reads
    // past the colour table for indices beyond it, which a file may hold.
    const QImage wholeColours = whole.convertToFormat(QImage::Format_ARGB32);
    for (std::size_t i = 1; i < 16; ++i) {
        const std::size_t kept = i <= 8 ? (i < size ? size - i : size) : size * (i - 8) / 8;
        if (kept == size)
            continue;
        const auto part = load(data, kept);
        if (part && part->image().convertToFormat(QImage::Format_ARGB32) != wholeColours) {
            std::fprintf(stderr, "cut to %zu of its %zu bytes, the file passes for another picture\n", kept, size);
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The GIF, ICO and JPEG readers are plugins, found through the application.
    static QCoreApplication app(*argc, *argv);
    // The decoders' complaints about broken files would drown the fuzzer's own
    // output; only whether libjpeg met corrupt data is kept.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        corruptData = corruptData || message.contains(QLatin1String("Corrupt JPEG data"));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    corruptData = false;
    const auto picture = load(data, size);
    if (!picture)
        return 0;
    if (picture->isEmpty() || static_cast<long long>(picture->width()) * picture->height() > kFuzzPixels)
        std::abort();
    if (!corruptData && aCutPassesFor(data, size, picture->image()))
        std::abort();
    return 0;
}
