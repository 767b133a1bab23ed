// 16-bit arithmetic, rounding, integer division and the readout's number text.

#include <QTest>

#include "platform/int16.h"
#include "platform/number_format.h"

using namespace kalidor;

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void sumsAndProductsStopAtTheLimits()
    {
        QCOMPARE(i16::add(32766, 1), int16{32767});
        QCOMPARE(i16::sub(-32767, 1), int16{-32768});
        QCOMPARE(i16::mul(181, 181), int16{32761});
        QCOMPARE(i16::mul(-256, 128), int16{-32768});
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::add(32767, 1));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::sub(-32768, 1));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::mul(182, 181));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::mul(-32768, -1));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::fromInt(32768));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::fromInt(-32769));
    }

    void divisionTruncatesTowardZeroAndModKeepsTheDividendsSign()
    {
        QCOMPARE(i16::div(-7, 2), int16{-3});
        QCOMPARE(i16::div(7, -2), int16{-3});
        QCOMPARE(i16::mod(-7, 2), int16{-1});
        QCOMPARE(i16::mod(7, -2), int16{1});
        QCOMPARE(i16::div(-10, 50), int16{0});
        QCOMPARE(i16::mod(-10, 50), int16{-10});
        for (int a = -300; a <= 300; a += 7)
            for (int b : {-50, -3, 1, 2, 50, 200})
                QCOMPARE(i16::div(int16(a), int16(b)) * b + i16::mod(int16(a), int16(b)), a);
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::div(-32768, -1));
        QCOMPARE(i16::mod(-32768, -1), int16{0});
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::div(5, 0));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::mod(5, 0));
    }

    void roundingTakesTiesToEven()
    {
        QCOMPARE(i16::round(250.5), int16{250});
        QCOMPARE(i16::round(251.5), int16{252});
        QCOMPARE(i16::round(-250.5), int16{-250});
        QCOMPARE(i16::round(-251.5), int16{-252});
        QCOMPARE(i16::round(0.5), int16{0});
        QCOMPARE(i16::round(-0.5), int16{0});
        QCOMPARE(i16::round(2.4999), int16{2});
        QCOMPARE(i16::round(2.5001), int16{3});
        QCOMPARE(i16::round(32767.4), int16{32767});
        QCOMPARE(i16::round(-32768.5), int16{-32768});  // the even neighbour is in range
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::round(32767.5));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::round(-32768.51));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::round(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::round(std::numeric_limits<double>::infinity()));
        QCOMPARE(i16::round32(451.5), 452);
        QCOMPARE(i16::round32(-100000.5), -100000);
        QVERIFY_THROWS_EXCEPTION(Int16Error, i16::round32(3e9));
    }

    void generalFormatWritesWholeNumbersPlainly()
    {
        QCOMPARE(generalFormat(120.0f), std::string("120"));
        QCOMPARE(generalFormat(-3.0f), std::string("-3"));
        QCOMPARE(generalFormat(-0.0f), std::string("0"));
        QCOMPARE(generalFormat(100000000.0f), std::string("100000000"));
        QCOMPARE(generalFormat(0.5f), std::string("0.5"));
        QCOMPARE(generalFormat(-2.25f), std::string("-2.25"));
        QCOMPARE(generalFormat(1.0f / 3.0f), std::string("0.3333333"));
        QCOMPARE(generalFormat(1234567.5f), std::string("1234568"));  // seven significant digits
        QCOMPARE(readoutText(120, 45), std::string("120,45"));
        QCOMPARE(readoutText(-3, 200), std::string("-3,200"));
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "test_numbers.moc"
