#include "draw/stabiliser.h"

#include <array>
#include <cmath>

namespace kalidor {

Steadiness nextSteadiness(Steadiness s)
{
    switch (s) {
    case Steadiness::Off: return Steadiness::Light;
    case Steadiness::Light: return Steadiness::Strong;
    default: return Steadiness::Off;
    }
}

int stabiliserLag(Steadiness s)
{
    switch (s) {
    case Steadiness::Light: return 5;
    case Steadiness::Strong: return 24;
    default: return 0;
    }
}

namespace {

// A fitted point: its place and the curve's direction there (none where too
// few positions give one).
struct Fit {
    double x = 0, y = 0;
    double dx = 0, dy = 0;
};

// Weights that give a quadratic's value (`value`) and slope (`slope`) at 0,
// fitted by least squares to samples at -before .. after, each weighted
// 1 - (t / (lag + 1))^2; fewer than three samples, a lower degree.
struct FitWeights {
    std::vector<double> value, slope;
};

FitWeights fitWeights(int before, int after, int lag)
{
    const int degree = std::min(2, before + after);
    std::vector<double> kernel;
    for (int t = -before; t <= after; ++t) {
        const double u = t / (lag + 1.0);
        kernel.push_back(1 - u * u);
    }
    // Powers of each sample's place, found once: t^0 .. t^4.
    std::vector<std::array<double, 5>> powers;
    for (int t = -before; t <= after; ++t)
        powers.push_back({1.0, 1.0 * t, 1.0 * t * t, 1.0 * t * t * t, 1.0 * t * t * t * t});
    // The normal equations M c = e0 and M c = e1 side by side, M[i][j] = sum k t^(i+j).
    std::array<std::array<double, 5>, 3> m{};
    for (int i = 0; i <= degree; ++i) {
        for (int j = 0; j <= degree; ++j)
            for (std::size_t n = 0; n < powers.size(); ++n)
                m[i][j] += kernel[n] * powers[n][static_cast<std::size_t>(i + j)];
        m[i][3] = i == 0 ? 1 : 0;
        m[i][4] = i == 1 ? 1 : 0;
    }
    for (int c = 0; c <= degree; ++c) {
        int pivot = c;
        for (int r = c + 1; r <= degree; ++r)
            if (std::abs(m[r][c]) > std::abs(m[pivot][c]))
                pivot = r;
        std::swap(m[c], m[pivot]);
        for (int r = 0; r <= degree; ++r) {
            if (r == c)
                continue;
            const double f = m[r][c] / m[c][c];
            for (int k = c; k < 5; ++k)
                m[r][k] -= f * m[c][k];
        }
    }
    FitWeights w;
    for (std::size_t n = 0; n < powers.size(); ++n) {
        double value = 0, slope = 0;
        for (int i = 0; i <= degree; ++i) {
            value += m[i][3] / m[i][i] * powers[n][static_cast<std::size_t>(i)];
            slope += degree > 0 ? m[i][4] / m[i][i] * powers[n][static_cast<std::size_t>(i)] : 0;
        }
        w.value.push_back(value * kernel[n]);
        w.slope.push_back(slope * kernel[n]);
    }
    return w;
}

// The fitted point of move `at`, from the positions seen up to move `last`.
Fit fitAt(const Stabiliser& s, long long at, long long last)
{
    const int lag = stabiliserLag(s.level);
    const auto before = static_cast<int>(std::min<long long>(lag, at - s.first));
    const auto after = static_cast<int>(last - at);
    const FitWeights w = fitWeights(before, after, lag);
    Fit f;
    for (int t = -before; t <= after; ++t) {
        const Stabiliser::Place& p = s.seen[static_cast<std::size_t>(at + t - s.first)];
        const auto i = static_cast<std::size_t>(t + before);
        f.x += w.value[i] * p.x;
        f.y += w.value[i] * p.y;
        f.dx += w.slope[i] * p.x;
        f.dy += w.slope[i] * p.y;
    }
    return f;
}

// The whole pixel to draw to for a fitted point: of the nine around the
// nearest, the one nearest the curve across its direction, a pixel along it
// costing a tenth as much. Rounding to the nearest pixel would shake the line
// by up to half a pixel across its way; this keeps it on the curve.
Stabiliser::Place drawnPoint(const Fit& f)
{
    const double length = std::hypot(f.dx, f.dy);
    const double nx = std::round(f.x), ny = std::round(f.y);
    if (length < 1e-9)
        return {nx, ny};
    const double tx = f.dx / length, ty = f.dy / length;
    constexpr double kAlong = 0.1;
    Stabiliser::Place best{nx, ny};
    double bestCost = INFINITY;
    for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b) {
            const double ox = nx + a - f.x, oy = ny + b - f.y;
            const double cost = std::abs(ox * -ty + oy * tx) + kAlong * std::abs(ox * tx + oy * ty);
            if (cost < bestCost) {
                bestCost = cost;
                best = {nx + a, ny + b};
            }
        }
    return best;
}

}  // namespace

void stabiliserStart(Stabiliser& s, Steadiness level, double x, double y)
{
    s.level = level;
    s.seen.assign(1, Stabiliser::Place{x, y});
    s.first = 0;
    s.next = 1;  // the press point is the stroke's own
}

std::vector<Stabiliser::Place> stabiliserMove(Stabiliser& s, double x, double y)
{
    s.seen.push_back({x, y});
    const long long last = s.first + static_cast<long long>(s.seen.size()) - 1;
    const int lag = stabiliserLag(s.level);
    std::vector<Stabiliser::Place> drawn;
    for (; s.next <= last - lag; ++s.next)
        drawn.push_back(drawnPoint(fitAt(s, s.next, s.next + lag)));
    // Keep the positions the next point's fit reaches back to.
    while (s.first < s.next - lag) {
        s.seen.pop_front();
        ++s.first;
    }
    return drawn;
}

std::vector<Stabiliser::Place> stabiliserFinish(Stabiliser& s)
{
    const long long last = s.first + static_cast<long long>(s.seen.size()) - 1;
    std::vector<Stabiliser::Place> drawn;
    for (; s.next < last; ++s.next)
        drawn.push_back(drawnPoint(fitAt(s, s.next, last)));
    if (s.next == last) {
        drawn.push_back(s.seen.back());
        ++s.next;
    }
    return drawn;
}

}  // namespace kalidor
