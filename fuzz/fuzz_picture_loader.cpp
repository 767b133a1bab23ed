// libFuzzer's entry: every input goes to the picture loader exactly as Open
// hands it a file's bytes, with the pixel limit lowered to 1024 x 1024 so that
// no input may take long or much memory (run_fuzzer.sh holds it to both).
// Besides the sanitizers' reports, a picture handed back must be one the canvas
// can take: not empty, and within the limit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include <QCoreApplication>

#include "platform/picture_file.h"

namespace {

constexpr long long kFuzzPixels = 1024 * 1024;  // 4 MB of pixels

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The GIF, ICO and JPEG readers are plugins, found through the application.
    static QCoreApplication app(*argc, *argv);
    // The decoders' complaints about broken files would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto picture = kalidor::LoadPicture(std::as_bytes(std::span(data, size)), kFuzzPixels);
    if (picture && (picture->isEmpty() || static_cast<long long>(picture->width()) * picture->height() > kFuzzPixels))
        std::abort();
    return 0;
}
