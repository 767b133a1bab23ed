#pragma once
// The storm's machinery: a seeded source of choices, the user's actions built
// from real Qt events, and the check after every event.

#include <cstdint>
#include <deque>
#include <map>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <QEvent>
#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QSize>
#include <QString>
#include <Qt>

#include "support/storm.h"
#include "support/storm_checks.h"

class QWidget;

namespace kalidor {
class MainWindow;
struct Editor;
}  // namespace kalidor

namespace kalidor::test {

class StormDriver {
public:
    StormDriver(MainWindow& window, std::uint32_t seed, long long events, QString scratch);
    ~StormDriver();
    StormDriver(const StormDriver&) = delete;
    StormDriver& operator=(const StormDriver&) = delete;

    StormOutcome run();

private:
    struct Stop {};  // thrown by `fire` at the end of the storm or at a failure

    // Choices.
    int below(int n);
    int between(int lo, int hi);
    bool chance(int percent);
    // A position along a canvas side of `size` pixels: mostly on the canvas,
    // sometimes beyond it, now and then at or past the 16-bit limits.
    double along(double size);
    QPointF canvasPoint();
    Qt::KeyboardModifiers modifiers();
    Qt::MouseButton button();

    // Sends one event, then checks the editor.
    void fire(const std::string& what, const std::function<void()>& send);
    // Stops the storm: the last event sent is the first that failed.
    [[noreturn]] void fail(const std::string& failure);
    void action();

    // Pointer actions (storm_pointer.cpp).
    void stroke();
    void hover();
    void dragMarker();
    void pressPalette();
    void moveSlider();
    // Keys (storm_keys.cpp).
    void holdArrow();
    void pressC();
    void escapeDuringDrag();
    // M, G, and the brackets that turn Centric's mirror line.
    void symmetryKeys();
    // Fill (storm_fill.cpp): the F key, and a press on the canvas, checked
    // where Fill takes it.
    void pressF();
    void pressOnCanvas(const std::string& what, QPointF at, Qt::MouseButton b, Qt::MouseButtons held,
                       Qt::KeyboardModifiers mods, bool twice = false);
    // A key with the mouse still down: the C key, an arrow held a while, or a
    // File command.
    void keyDuringDrag();
    void fileKeysDuringDrag();
    // The file dialogs' answer for keys that may run Open or Save.
    void answerFileKeys();
    void pressKey(Qt::Key key, Qt::KeyboardModifiers mods, int repeats = 1);
    void sendKey(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods, bool repeat = false);
    void otherKey();
    // Buttons, dialogs and the window (storm_window.cpp).
    void click(QWidget* w, const std::string& name, Qt::MouseButton b = Qt::LeftButton);
    void clickMode();
    void clickBox();
    void clickInvert();
    void clickWell();
    void fileMenu();
    // Save tile, Copy and Paste, by keys or entries.
    void leaveWindow();
    // Pattern's group from the status bar's fifth panel, or the pop-up left.
    void chooseGroup();
    void resizeWindow();
    void idle();
    // Size, zoom and pan (storm_view.cpp); the view then back at 100 % from
    // the canvas's corner, which every other action takes for granted.
    void viewOrSize();
    void viewHome();
    std::string checkView();
    // The history (storm_history.cpp).
    struct Fingerprint {
        QSize size;
        std::size_t hash = 0;
    };
    static Fingerprint fingerprint(const QImage& image, QSize size);
    void undoRedo();
    std::string checkHistory();
    std::string checkShown();
    // Every pixel of the picture that changed lies in an area the picture
    // reported (what the canvas repaints and the recovery copy copies), over
    // every stretch of events in which the picture kept its size.
    std::string checkReported(bool compare);
    void markReported(const QRegion& area);
    // The recovery copy, once written, is the picture while it is unsaved, and
    // there is none while it is saved.
    std::string checkRecovery();
    void undoEverythingAndRedo();

    MainWindow& window_;
    Editor& e_;
    std::mt19937 random_;
    long long limit_;
    QString scratch_;
    StormExpectations expect_;
    std::deque<std::string> recent_;
    StormOutcome outcome_;
    std::optional<std::string> fileAnswer_;  // the file dialogs' next answer
    std::map<long long, Fingerprint> pictures_;  // the kept picture last seen at each history state
    long long lastState_ = -1;
    QImage start_;  // the kept picture before the first event
    QImage reportedFrom_;                   // the kept picture when the stretch began
    std::vector<std::uint8_t> reported_;    // its pixels reported since, a byte each
    int listening_ = 0;
    int fileDialogs_ = 0;                   // file dialogs the program showed
    long long fills_ = 0;                   // presses Fill took
};

// The canvas's whole kept picture, as the storm compares it.
const QImage& keptPicture(Editor& e);

}  // namespace kalidor::test
