#pragma once
// File > New, Open and Save driven in the real window: the dialogs answered and
// the messages collected, and pictures to open and check.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include "editor/editor.h"

namespace kalidor::test {

// Answers the file dialogs of a window the tests opened, and reads the
// messages it showed. It must not outlive the window.
struct Answers {
    std::optional<std::string> name;
    std::vector<std::pair<FileDialogKind, std::string>> asked;
    std::vector<std::string>& messages;

    explicit Answers(Editor& e);
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
};

// The File menu's entry `index` (0 New, 1 Open, 2 Save) chosen.
void menuItem(Editor& e, int index);
QImage canvasImage(const Editor& e);
QByteArray bytesOf(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// Red at the top-left, blue at the bottom-right, green between; blocks of 16
// keep the corners' colours through JPEG compression.
QColor markAt(int x, int y, int w, int h);
QImage marked(int w, int h);
// A canvas pixel close to the colour, as after JPEG compression.
bool near(std::int32_t got, const QColor& want);

// Lines across the canvas, its last column among them.
void drawSomething(Editor& e);

}  // namespace kalidor::test
