#include "core/pubunit.h"
#include "core/session.h"
#include "support/testregistry.h"

#include <QTest>

class TestPubUnit : public QObject {
    Q_OBJECT
private slots:
    void moneyMinToBig_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("1234.56") << 1234.56 << QString("壹千贰佰叁拾肆元伍角陆分");
        QTest::newRow("1005") << 1005.0 << QString("壹千零佰零拾伍元整");
        QTest::newRow("10.5") << 10.5 << QString("壹拾零元伍角零分");
        QTest::newRow("0") << 0.0 << QString("零元整");
        QTest::newRow("sign dropped") << -3.2 << QString("叁元贰角零分");
        QTest::newRow("rounded half up") << 1.005 << QString("壹元零角壹分");
        QTest::newRow("rounds to whole") << 9.999 << QString("壹拾零元整");
        QTest::newRow("ten thousands") << 20000.0 << QString("贰万零千零佰零拾零元整");
        QTest::newRow("largest") << 999999999999.99
                                 << QString("玖千玖佰玖十玖亿玖千玖佰玖拾玖万玖千玖佰玖拾玖元玖角玖分");
        QTest::newRow("10^12 refused") << 1e12 << QString();
        QTest::newRow("rounds up to 10^12") << 999999999999.995 << QString();
    }
    void moneyMinToBig() {
        QFETCH(double, amount);
        QFETCH(QString, text);
        QCOMPARE(MoneyMinToBig(amount), text);
    }

    void formatFloat_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.## whole") << "0.##" << 5.0 << "5";
        QTest::newRow("0.## one place") << "0.##" << 5.1 << "5.1";
        QTest::newRow("0.## rounds") << "0.##" << 2.345 << "2.35";
        QTest::newRow("0. no places") << "0." << 2.5 << "3";
        QTest::newRow(",0.00 thousands") << ",0.00" << 1234567.891 << "1,234,567.89";
        QTest::newRow(",0.00 small") << ",0.00" << 0.5 << "0.50";
        QTest::newRow(",0.00 negative") << ",0.00" << -1234.5 << "-1,234.50";
        QTest::newRow(",0.00## optional") << ",0.00##" << 1.23456 << "1.2346";
        QTest::newRow(",0.00## trims") << ",0.00##" << 1.2 << "1.20";
        QTest::newRow(",0.00## three") << ",0.00##" << 1000.125 << "1,000.125";
        QTest::newRow("negative zero") << ",0.00" << -0.001 << "0.00";
        QTest::newRow("binary half") << "0.00" << 1.005 << "1.01";
    }
    void formatFloat() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatFloat(pattern, value), text);
    }

    void numberFormats_data() {
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("price");
        QTest::newRow("0") << 0 << "0." << ",0.";
        QTest::newRow("2") << 2 << "0.##" << ",0.00";
        QTest::newRow("4") << 4 << "0.####" << ",0.00##";
    }
    void numberFormats() {
        QFETCH(int, places);
        QFETCH(QString, amount);
        QFETCH(QString, price);
        session().iAmount = session().iPrice = session().iTotal = places;
        BuildNumberFormats();
        QCOMPARE(session().FmtAmount, amount);
        QCOMPARE(session().FmtPrice, price);
        QCOMPARE(session().FmtTotal, price);
        session() = Session();
    }

    void roundMoneyHalfEven() {
        QCOMPARE(RoundMoney(1.00005), 1.0);
        QCOMPARE(RoundMoney(1.00015), 1.0002);
        QCOMPARE(RoundMoney(-2.00025), -2.0002);
        QCOMPARE(RoundMoney(0.1 + 0.2), 0.3);
        QCOMPARE(RoundMoney(12345.678951), 12345.679);
    }

    void periodCaption() {
        QCOMPARE(PeriodCaption(std::nullopt, std::nullopt, "培训"), QString("培训日期：自 启用系统 至 记帐最后一天"));
        QCOMPARE(PeriodCaption(QDate(2026, 1, 5), QDate(2026, 12, 31), ""),
                 QString("统计日期：自 2026年01月05日 至 2026年12月31日"));
        QCOMPARE(PeriodCaption(QDate(2026, 3, 1), std::nullopt, " "),
                 QString("统计日期：自 2026年03月01日 至 记帐最后一天"));
    }

    void isValidEmail_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "hr@lanhe.com" << true;
        QTest::newRow("no at") << "hr.lanhe.com" << false;
        QTest::newRow("empty user") << "@lanhe.com" << false;
        QTest::newRow("double dot") << "hr@lanhe..com" << false;
        QTest::newRow("short domain") << "hr@a.c" << false;
        QTest::newRow("short after dot") << "hr@lanhe.cn" << false;
        QTest::newRow("chinese") << "人事@lanhe.com" << false;
    }
    void isValidEmail() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(IsValidEmail(text), valid);
    }

    void pictureType() {
        QCOMPARE(GetPictureType("a.BMP"), 1);
        QCOMPARE(GetPictureType("a.jpeg"), 2);
        QCOMPARE(GetPictureType("a.Jpg"), 2);
        QCOMPARE(GetPictureType("a.gif"), 3);
        QCOMPARE(GetPictureType("a.png"), 0);
    }
};

REGISTER_TEST(TestPubUnit)
#include "tst_pubunit.moc"
