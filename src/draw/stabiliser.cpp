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

// Weights that give a quadratic's value at 0 fitted by least squares to
// samples at -before .. after, each weighted 1 - (t / (lag + 1))^2 (fewer
// samples: a lower degree).
std::vector<double> fitWeights(int before, int after, int lag)
{
    const int degree = std::min(2, before + after);
    std::vector<double> kernel;
    for (int t = -before; t <= after; ++t) {
        const double u = t / (lag + 1.0);
        kernel.push_back(1 - u * u);
    }
    // Normal equations M c = e0, M[i][j] = sum k t^(i+j).
    std::array<std::array<double, 4>, 3> m{};
    for (int i = 0; i <= degree; ++i) {
        for (int j = 0; j <= degree; ++j)
            for (int t = -before; t <= after; ++t)
                m[i][j] += kernel[t + before] * std::pow(t, i + j);
        m[i][3] = i == 0 ? 1 : 0;
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
            for (int k = c; k < 4; ++k)
                m[r][k] -= f * m[c][k];
        }
    }
    std::vector<double> weights;
    for (int t = -before; t <= after; ++t) {
        double w = 0;
        for (int i = 0; i <= degree; ++i)
            w += m[i][3] / m[i][i] * std::pow(t, i);
        weights.push_back(w * kernel[t + before]);
    }
    return weights;
}

// The drawn point of move `at`, from the positions seen up to move `last`.
Stabiliser::Place drawnPoint(const Stabiliser& s, long long at, long long last)
{
    const int lag = stabiliserLag(s.level);
    const auto before = static_cast<int>(std::min<long long>(lag, at - s.first));
    const auto after = static_cast<int>(last - at);
    const std::vector<double> w = fitWeights(before, after, lag);
    double x = 0, y = 0;
    for (int t = -before; t <= after; ++t) {
        const Stabiliser::Place& p = s.seen[static_cast<std::size_t>(at + t - s.first)];
        x += w[t + before] * p.x;
        y += w[t + before] * p.y;
    }
    return Stabiliser::Place{std::round(x), std::round(y)};
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
        drawn.push_back(drawnPoint(s, s.next, s.next + lag));
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
        drawn.push_back(drawnPoint(s, s.next, last));
    if (s.next == last) {
        drawn.push_back(s.seen.back());
        ++s.next;
    }
    return drawn;
}

}  // namespace kalidor
