#pragma once
// What must hold after every user event, whatever the events were.

#include <string>

#include <QRect>

namespace kalidor {
class MainWindow;
}

namespace kalidor::test {

// What the checks remember from one event to the next.
struct StormExpectations {
    QRect canvas;  // the canvas's place and size by the resize rule
    // The marker was dropped in colour pick entered from Centric: the drop set
    // the pattern point, so panel 3 may show "P: " back in Centric mode until
    // the control point is next set there.
    bool pickDrop = false;
    // The mode a switch to which was abandoned before showing the marker, its
    // point being too far left or up to place it; -1 for none.
    int hiddenIn = -1;
};

StormExpectations currentExpectations(MainWindow& w);

// Empty when everything holds, else what does not. Takes in what an event may
// change (the canvas by the resize rule).
std::string checkEditor(MainWindow& w, StormExpectations& x);

}  // namespace kalidor::test
