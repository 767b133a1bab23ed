// Event storms: the real window under long seeded random sequences of user
// events, with the editor's invariants checked after every event.
//
// KALIDOR_STORM_SEED=s runs seed s alone instead of the fixed seeds, and
// KALIDOR_STORM_EVENTS=n sends n events per seed. A failure names the seed and
// the first event after which a check failed, so that
//   KALIDOR_STORM_SEED=s KALIDOR_STORM_EVENTS=n+1 tests/test_event_storm
// replays exactly the shortest failing run.

#include <cstdlib>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include "support/storm.h"
#include "support/storm_guard.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

// Together 200,000 events in every run of the tests.
constexpr std::uint32_t kSeeds[] = {1, 7, 42, 2024, 65535, 99991, 3141592, 4000000007};
constexpr long long kEventsPerSeed = 25000;
// No single event takes anywhere near this long, in any build.
constexpr int kHangSeconds = 60;

long long eventsPerSeed()
{
    const char* n = std::getenv("KALIDOR_STORM_EVENTS");
    return n ? std::atoll(n) : kEventsPerSeed;
}

std::string report(std::uint32_t seed, const test::StormOutcome& out)
{
    std::string text = "seed " + std::to_string(seed) + ": " + out.failure;
    if (out.failedAt >= 0)
        text += "\nfirst failing event: " + std::to_string(out.failedAt) +
                "\nreplay: KALIDOR_STORM_SEED=" + std::to_string(seed) +
                " KALIDOR_STORM_EVENTS=" + std::to_string(out.failedAt + 1) + "\nthe last events:";
    for (const std::string& event : out.recent)
        text += "\n  " + event;
    return text;
}

}  // namespace

class EventStormTest : public QObject {
    Q_OBJECT
private slots:
    void storm_data()
    {
        QTest::addColumn<uint>("seed");
        if (const char* seed = std::getenv("KALIDOR_STORM_SEED")) {
            const auto s = static_cast<uint>(std::strtoul(seed, nullptr, 10));
            QTest::addRow("seed %u", s) << s;
            return;
        }
        for (const std::uint32_t s : kSeeds)
            QTest::addRow("seed %u", s) << static_cast<uint>(s);
    }

    void storm()
    {
        QFETCH(uint, seed);
        const long long events = eventsPerSeed();
        // With a recovery copy kept, which the storm checks now and then.
        QTemporaryDir recovery;
        auto window = test::openWindow(400, 340, nullptr, recovery.path().toStdString());
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QElapsedTimer clock;
        clock.start();
        test::StormOutcome out;
        {
            test::StormGuard guard(seed, kHangSeconds);
            out = test::runStorm(*window, seed, events, scratch.path());
        }
        qInfo("seed %u: %lld events in %lld ms", seed, out.events, static_cast<long long>(clock.elapsed()));
        QVERIFY2(out.failure.empty(), report(seed, out).c_str());
        QCOMPARE(out.events, events);
    }
};

QTEST_MAIN(EventStormTest)
#include "test_event_storm.moc"
