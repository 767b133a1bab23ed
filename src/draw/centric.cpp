#include "draw/centric.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "draw/step_segments.h"

namespace kalidor {

namespace {

// Distance of (x, y) from the centre: doubles inside, stored as a single.
float radius(const EditorState& s, int16 x, int16 y)
{
    const double dx = i16::sub(x, s.CenterX);
    const double dy = i16::sub(y, s.CenterY);
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

Point16 rotatedPoint(const EditorState& s, float r, float alfa)
{
    const double a = alfa;
    return Point16{i16::round(r * std::cos(a) + s.CenterX), i16::round(r * std::sin(a) + s.CenterY)};
}

// Angles advance in single precision, one step at a time, as they are stored.
float nextAngle(float alfa, float step)
{
    return static_cast<float>(static_cast<double>(alfa) + static_cast<double>(step));
}

int16 copies(const Editor& e) { return static_cast<int16>(e.ui.slN.Value()); }

}  // namespace

float DefAlfa(const EditorState& s, int16 x, int16 y)
{
    if (x == s.CenterX)
        return s.CenterY < y ? kHalfPi : kThreeHalfPi;
    const double q = static_cast<double>(i16::sub(s.CenterY, y)) / static_cast<double>(i16::sub(s.CenterX, x));
    double alfa = std::atan(q);
    if (x < s.CenterX)
        alfa += static_cast<double>(kPi);
    return static_cast<float>(alfa);
}

void DefCenterSXY(Editor& e, int16 x, int16 y)
{
    EditorState& s = e.st;
    const float r = radius(s, x, y);
    float alfa = DefAlfa(s, x, y);
    const int16 n = copies(e);
    s.DAlfa = static_cast<float>(static_cast<double>(kFullTurn) / n);
    s.SXY.assign(static_cast<std::size_t>(std::max<int16>(n, 0)), Point16{});
    if (s.SXY.empty())
        return;
    s.SXY[0] = Point16{x, y};
    for (std::size_t i = 1; i < s.SXY.size(); ++i) {
        alfa = nextAngle(alfa, s.DAlfa);
        s.SXY[i] = rotatedPoint(s, r, alfa);
    }
}

void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button)
{
    EditorState& s = e.st;
    const Well* well = wellAt(e, button);
    // Before the first set-up there are no points to draw from; a button with
    // no well has no colour. Either way the step is skipped.
    if (s.SXY.empty() || !well)
        return;
    const float r = radius(s, x, y);
    float alfa = DefAlfa(s, x, y);
    // N raised during a stroke: only the rows the set-up made are stepped.
    const std::size_t rows = std::min(s.SXY.size(), static_cast<std::size_t>(std::max<int16>(copies(e), 0)));
    drawStep(*e.ui.pb, well->BackColor(), [&](std::vector<Segment>& segments) {
        segments.reserve(rows);
        for (std::size_t i = 0; i < rows; ++i) {
            const Point16 p = rotatedPoint(s, r, alfa);
            segments.push_back({static_cast<float>(s.SXY[i].x), static_cast<float>(s.SXY[i].y),
                                static_cast<float>(p.x), static_cast<float>(p.y)});
            s.SXY[i] = p;
            alfa = nextAngle(alfa, s.DAlfa);
        }
    });
}

void slN_Scroll(Editor& e)
{
    e.ui.lN.SetCaption(std::to_string(e.ui.slN.Value()));
}

}  // namespace kalidor
