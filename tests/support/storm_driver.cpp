#include "support/storm_driver.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "app/main_window.h"
#include "platform/widgets/surface_widget.h"
#include "support/scripted_services.h"
#include "support/storm_guard.h"

namespace kalidor::test {

namespace {

constexpr std::size_t kRecentEvents = 12;

}  // namespace

StormDriver::StormDriver(MainWindow& window, std::uint32_t seed, long long events, QString scratch)
    : window_(window), e_(window.editor()), random_(seed), limit_(events),
      scratch_(std::move(scratch)), expect_(currentExpectations(window))
{
    // Every dialog is answered at once, so nothing waits for a person.
    ScriptedServices& services = scripted(e_);
    services.colourAnswer = [this](Colour initial) -> std::optional<Colour> {
        if (chance(40))
            return std::nullopt;
        return chance(20) ? initial : static_cast<Colour>(random_() & 0xFFFFFF);
    };
    services.fileAnswer = [this](FileDialogKind, const std::string&) {
        ++fileDialogs_;
        return fileAnswer_;
    };
    start_ = e_.ui.pbBox.box()->surface().backing().copy();
    listening_ = e_.ui.pbBox.box()->picture().listen([this](const QRegion& area) { markReported(area); });
    QFile notes(QDir(scratch_).filePath("notes.bmp"));
    if (notes.open(QIODevice::WriteOnly))
        notes.write("Not a picture, only words.\n");
}

StormDriver::~StormDriver()
{
    e_.ui.pbBox.box()->picture().forget(listening_);
    ScriptedServices& services = scripted(e_);
    services.colourAnswer = [](Colour) { return std::optional<Colour>(); };
    services.fileAnswer = [](FileDialogKind, const std::string&) { return std::optional<std::string>(); };
}

int StormDriver::below(int n) { return between(0, n - 1); }

int StormDriver::between(int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(random_);
}

bool StormDriver::chance(int percent) { return below(100) < percent; }

double StormDriver::along(double size)
{
    const int side = std::max(1, static_cast<int>(size));
    const int r = below(100);
    const double sign = chance(50) ? 1 : -1;
    double v = 0;
    if (r < 70)
        v = between(0, side - 1);
    else if (r < 82)
        v = between(-30, side + 30);
    else if (r < 90)
        v = between(-3000, side + 3000);
    else if (r < 95)
        v = sign * between(31000, 32767);
    else if (r < 97)
        v = std::array{-32768.0, -32768.5, -32763.0, -32762.0, -32761.5, 32767.0, 32767.4}[below(7)];
    else  // past the 16-bit range: such an event is abandoned
        v = chance(30) ? std::array{32767.5, -32768.51}[below(2)] : sign * between(32768, 70000);
    if (r < 90 && chance(10))
        v += 0.5;  // halves round to even
    return v;
}

QPointF StormDriver::canvasPoint() { return {along(e_.ui.pb->ScaleWidth()), along(e_.ui.pb->ScaleHeight())}; }

Qt::KeyboardModifiers StormDriver::modifiers()
{
    // All eight combinations, Shift alone and none most often.
    const int r = below(100);
    if (r < 45)
        return Qt::NoModifier;
    if (r < 75)
        return Qt::ShiftModifier;
    Qt::KeyboardModifiers m;
    const int bits = between(2, 7);
    if (bits & 1)
        m |= Qt::ShiftModifier;
    if (bits & 2)
        m |= Qt::ControlModifier;
    if (bits & 4)
        m |= Qt::AltModifier;
    return m;
}

Qt::MouseButton StormDriver::button()
{
    const int r = below(100);
    return r < 60 ? Qt::LeftButton : r < 88 ? Qt::RightButton : Qt::MiddleButton;
}

void StormDriver::fire(const std::string& what, const std::function<void()>& send)
{
    if (outcome_.events >= limit_)
        throw Stop{};
    const long long index = outcome_.events++;
    recent_.push_back(std::to_string(index) + ": " + what);
    if (recent_.size() > kRecentEvents)
        recent_.pop_front();
    noteStormEvent(index);
    // Qt cannot carry an exception out of an event handler: in the program it
    // would end the process.
    try {
        send();
    } catch (const std::exception& error) {
        fail(std::string("an exception left the event: ") + error.what());
    }
    // KALIDOR_STORM_TRACE lists every event with the state it left, for replays.
    static const bool trace = qEnvironmentVariableIsSet("KALIDOR_STORM_TRACE");
    if (trace)
        std::printf("%s | Mode %d, panel 3 \"%s\"\n", recent_.back().c_str(), e_.st.Mode, e_.ui.sb.PanelText(3).c_str());
    if (std::string failure = checkEditor(window_, expect_); !failure.empty())
        fail(failure);
    if (std::string failure = checkHistory(); !failure.empty())
        fail(failure);
    // Now and then the screen, which needs a frame's wait.
    if (index % 1000 == 999)
        if (std::string failure = checkShown(); !failure.empty())
            fail(failure);
    if (index % 500 == 250)
        if (std::string failure = checkRecovery(); !failure.empty())
            fail(failure);
    if (std::string failure = checkReported(index % 500 == 0); !failure.empty())
        fail(failure);
    if (std::string failure = checkView(); !failure.empty())
        fail(failure);
}

void StormDriver::fail(const std::string& failure)
{
    outcome_.failedAt = outcome_.events - 1;
    outcome_.failure = failure;
    throw Stop{};
}

void StormDriver::action()
{
    using Action = void (StormDriver::*)();
    static constexpr std::pair<int, Action> actions[] = {
        {19, &StormDriver::stroke},     {4, &StormDriver::hover},       {9, &StormDriver::dragMarker},
        {10, &StormDriver::holdArrow},  {4, &StormDriver::pressC},      {2, &StormDriver::otherKey},
        {2, &StormDriver::symmetryKeys}, {2, &StormDriver::chooseGroup},
        {6, &StormDriver::clickMode},   {7, &StormDriver::clickBox},    {5, &StormDriver::pressPalette},
        {2, &StormDriver::clickWell},   {4, &StormDriver::moveSlider},  {5, &StormDriver::resizeWindow},
        {2, &StormDriver::clickInvert}, {3, &StormDriver::fileMenu},    {3, &StormDriver::idle},
        {4, &StormDriver::undoRedo},    {2, &StormDriver::pressF},      {2, &StormDriver::leaveWindow},
        {3, &StormDriver::viewOrSize},
    };
    int r = below(100);
    for (const auto& [weight, act] : actions) {
        if (r < weight) {
            (this->*act)();
            break;
        }
        r -= weight;
    }
    viewHome();
    // Nothing is left waiting for the user: no pop-up, no dialog.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget())
        fail("a pop-up or a dialog stayed open");
}

StormOutcome StormDriver::run()
{
    try {
        if (std::string failure = checkEditor(window_, expect_); !failure.empty())
            fail("before any event: " + failure);
        checkHistory();
        for (;;)
            action();
    } catch (const Stop&) {
    }
    if (outcome_.failure.empty()) {
        try {
            undoEverythingAndRedo();
        } catch (const Stop&) {
        }
    }
    outcome_.recent.assign(recent_.begin(), recent_.end());
    return outcome_;
}

StormOutcome runStorm(MainWindow& window, std::uint32_t seed, long long events, const QString& scratch)
{
    StormDriver driver(window, seed, events, scratch);
    return driver.run();
}

}  // namespace kalidor::test
