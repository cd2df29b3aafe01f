// Conversions, the general number format and fixed-point money.
#include "rtl/Convert.h"
#include "rtl/Marker.h"
#include "rtl/Money.h"
#include "rtl/TaxIds.h"
#include "support/Handlers.h"

#include <cmath>

#include <QtTest>

class TestRtl : public QObject {
    Q_OBJECT
private slots:
    void integers() {
        QCOMPARE(rtl::StrToInt(" 42 "), 42);
        QCOMPARE(rtl::StrToInt("-2147483648"), INT_MIN);
        for (const char* bad : {"", "4 2", "2147483648", "1,0", "x", "+"}) {
            try {
                rtl::StrToInt(bad);
                QFAIL(bad);
            } catch (const rtl::ConvertError& e) {
                QCOMPARE(e.text(), QString("'%1' is not a valid integer value").arg(bad));
            }
        }
    }

    void floats() {
        QCOMPARE(rtl::StrToFloat("250,5"), 250.5);
        QCOMPARE(rtl::StrToFloat("-1,5E3"), -1500.0);
        QCOMPARE(rtl::StrToFloat("12"), 12.0);
        for (const char* bad : {"", "250.5", "1,2,3", "abc", "1E", ","}) {
            try {
                rtl::StrToFloat(bad);
                QFAIL(bad);
            } catch (const rtl::ConvertError& e) {
                QCOMPARE(e.text(), QString("'%1' is not a valid floating point value").arg(bad));
            }
        }
    }

    void dates() {
        QCOMPARE(rtl::StrToDate("29.02.2024"), QDate(2024, 2, 29));
        QCOMPARE(rtl::StrToDate("1.2.2026"), QDate(2026, 2, 1));
        for (const char* bad : {"  .  .    ", "29.02.2025", "31.04.2026", "12.2026", "aa.bb.cccc", "01.01.20  "}) {
            try {
                rtl::StrToDate(bad);
                QFAIL(bad);
            } catch (const rtl::ConvertError& e) {
                QCOMPARE(e.text(), QString("'%1' is not a valid date").arg(bad));
            }
        }
        QCOMPARE(rtl::DateToStr(QDate(2026, 3, 4)), QString("04.03.2026"));
        QCOMPARE(rtl::DateTimeToStr(QDateTime(QDate(2026, 3, 4), QTime(0, 0))), QString("04.03.2026"));
        QCOMPARE(rtl::DateTimeToStr(QDateTime(QDate(2026, 3, 4), QTime(7, 8, 9))), QString("04.03.2026 7:08:09"));
        QCOMPARE(rtl::SysInfoMarker(QDateTime(QDate(2026, 12, 8), QTime(18, 0, 1))), QString("08.12.202618:00:01"));
    }

    void generalFormat_data() {
        QTest::addColumn<double>("v");
        QTest::addColumn<QString>("text");
        QTest::newRow("sum") << 350.75 << "350,75";
        QTest::newRow("product") << 37.5 << "37,5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("integer") << 1500.0 << "1500";
        QTest::newRow("negative integer") << -42.0 << "-42";
        QTest::newRow("widest integer") << 999999999999999.0 << "999999999999999";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative") << -0.5 << "-0,5";
        QTest::newRow("small") << 0.00001 << "0,00001";
        QTest::newRow("smaller") << 0.000001 << "1E-6";
        QTest::newRow("tiny") << 1.5e-7 << "1,5E-7";
        QTest::newRow("big") << 1e14 << "100000000000000";
        QTest::newRow("huge") << 1e15 << "1E15";
        QTest::newRow("third") << 1.0 / 3 << "0,333333333333333";
        QTest::newRow("binary noise") << 0.1 + 0.2 << "0,3";
    }
    void generalFormat() {
        QFETCH(double, v);
        QFETCH(QString, text);
        QCOMPARE(rtl::FloatToStr(v), text);
    }

    void money() {
        using rtl::Money;
        QCOMPARE((Money::fromDouble(100) + Money::fromDouble(250.5) + Money::fromDouble(0.25)).toString(), QString("350,75"));
        QCOMPARE(Money::times(12.5, 3).toString(), QString("37,5"));
        QCOMPARE(Money::times(0.125, 3).units(), 3750);
        // Ties go to the even count of ten-thousandths.
        QCOMPARE(Money::fromDouble(0.00005).units(), 0);
        QCOMPARE(Money::fromDouble(0.00025).units(), 2);
        QCOMPARE(Money::fromDouble(0.00035).units(), 4);
        QCOMPARE(Money::fromDouble(0.12345).units(), 1234);
        QCOMPARE(Money::fromDouble(-0.00035).units(), -4);
        QCOMPARE(Money::fromDouble(0.00026).units(), 3);
        QCOMPARE(Money().toString(), QString("0"));
        QCOMPARE(Money::fromDouble(-1234.5678).toString(), QString("-1234,5678"));
        // Adding many tenths stays exact, unlike a double.
        Money m;
        for (int i = 0; i < 1000; ++i) m += Money::fromDouble(0.1);
        QCOMPARE(m.toString(), QString("100"));

        // Up to the limit every conversion keeps the fourth decimal; one
        // ten-thousandth past it is refused, never wrapped or rounded away.
        const QString limit = "99999999999,9999";
        const QString refusal = "вне допустимого диапазона: по модулю она не может превышать " + limit;
        QCOMPARE(Money::fromDouble(rtl::StrToPrice(limit)).toString(), limit);
        QCOMPARE(Money::fromDouble(rtl::StrToPrice("-" + limit)).toString(), "-" + limit);
        QCOMPARE(rtl::FloatToStr(rtl::StrToPrice(limit)), limit);
        QCOMPARE(Money::times(rtl::StrToPrice("33333333333,3333"), 3).toString(), limit);
        QCOMPARE(Money::times(rtl::StrToPrice("9999999999,9999"), 10).toString(), QString("99999999999,999"));
        QCOMPARE((Money::fromDouble(rtl::StrToPrice("49999999999,9999")) + Money::fromDouble(50000000000)).toString(), limit);
        QCOMPARE(support::errorOf([] { rtl::StrToPrice("100000000000"); }), "Стоимость «100000000000» " + refusal);
        QCOMPARE(support::errorOf([] { rtl::StrToPrice("-99999999999,99995"); }), "Стоимость «-99999999999,99995» " + refusal);
        QCOMPARE(support::errorOf([] { Money::fromDouble(1E15); }), "Сумма «1E15» " + refusal);
        QCOMPARE(support::errorOf([] { Money::times(50000000000, 2); }), "Сумма «100000000000» " + refusal);
        Money top = Money::max();
        QCOMPARE(support::errorOf([&top] { top += Money::fromUnits(1); }), "Сумма «100000000000» " + refusal);
        QCOMPARE(top.toString(), limit);  // unchanged
        QCOMPARE(rtl::MoneyRangeError("1E20").at("Строка 2").text(), "Строка 2: сумма «1E20» " + refusal);
        QVERIFY_THROWS_EXCEPTION(rtl::ConvertError, Money::fromDouble(std::nan("")));
        QCOMPARE(rtl::StrToPrice("12,5"), 12.5);
    }

    // ИНН, ОГРН and ОГРНИП by their control digits: real numbers pass, one
    // changed digit, a wrong length or a stray character does not.
    void taxIds() {
        for (const char* inn : {"7707083893", "7736050003", " 500100732259 "}) QVERIFY2(rtl::isValidInn(inn), inn);
        QCOMPARE(rtl::innError("7707083894"), QString("Неверное контрольное число ИНН"));
        QCOMPARE(rtl::innError("500100732250"), QString("Неверное контрольное число ИНН"));  // the 12th digit
        QCOMPARE(rtl::innError("500100732269"), QString("Неверное контрольное число ИНН"));  // the 11th
        QCOMPARE(rtl::innError("0000000000"), QString("ИНН не может начинаться с 00"));
        for (const char* bad : {"", "770708389", "77070838931", "7707O83893", "7707 083893"})
            QCOMPARE(rtl::innError(bad),
                     QString("ИНН должен состоять из 10 цифр (организация) или 12 цифр (предприниматель)"));

        QVERIFY(rtl::isValidOgrn("1027700132195"));
        QCOMPARE(rtl::ogrnError("1027700132194"), QString("Неверное контрольное число ОГРН"));
        QCOMPARE(rtl::ogrnError("0000000000000"), QString("ОГРН не может начинаться с цифры 0"));
        QCOMPARE(rtl::ogrnError("304500116000157"), QString("ОГРН должен состоять из 13 цифр"));

        QVERIFY(rtl::isValidOgrnip("304500116000157"));
        QCOMPARE(rtl::ogrnipError("304500116000158"), QString("Неверное контрольное число ОГРНИП"));
        QCOMPARE(rtl::ogrnipError("1027700132195"), QString("ОГРНИП должен состоять из 15 цифр"));
        QCOMPARE(rtl::ogrnipError("104500116000157"), QString("ОГРНИП не может начинаться с цифры 1"));
    }
};

QTEST_GUILESS_MAIN(TestRtl)
#include "tst_rtl.moc"
