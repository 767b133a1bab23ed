// Writes the sample pictures into a folder, as the fuzzer's seed corpus.
//   make_seed_pictures FOLDER

#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "support/sample_pictures.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(argv[1])) {
        std::fprintf(stderr, "usage: make_seed_pictures FOLDER\n");
        return 2;
    }
    for (const auto& sample : kalidor::test::samplePictures()) {
        QFile file(QDir(argv[1]).filePath(QString::fromStdString(sample.name)));
        if (sample.bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(sample.bytes) != sample.bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
