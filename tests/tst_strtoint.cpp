// The strict conversion accepts exactly one signed 32-bit integer and names
// the rejected input, as given, in its message. The boundary pairs are where
// hand-written parsers fail.
#include <QtTest>

#include "StrToInt.h"

class TstStrToInt : public QObject {
  Q_OBJECT
 private slots:
  void convert_data() {
    QTest::addColumn<QString>("Input");
    QTest::addColumn<bool>("Ok");
    QTest::addColumn<int>("Expected");
    const auto Good = [](const QString &In, int Out) { QTest::newRow(qPrintable(In)) << In << true << Out; };
    const auto Bad = [](const QString &In) { QTest::newRow(qPrintable("bad " + In)) << In << false << 0; };
    for (const auto &[In, Out] : std::initializer_list<std::pair<QString, int>>{
             {"+007", 7}, {"-123", -123}, {"  12", 12}, {"$1f", 31}, {"0X1F", 31}, {"x1F", 31},
             {"-$1F", -31}, {"-0x1F", -31}, {"$000000001F", 31}, {"2147483647", 2147483647},
             {"-2147483648", -2147483647 - 1}, {"$80000000", -2147483647 - 1}, {"$FFFFFFFF", -1}})
      Good(In, Out);
    for (const char *In : {"12 ", "\t12", "- 1", "+-1", "", "  ", "$", "0x", "-", "$-1", "1F", "1.0",
                              "1,000", "2147483648", "-2147483649", "$100000000", "18446744073709551617"})
      Bad(In);
    Bad(u"\u0661\u0662"_qs);  // digits, but not ASCII ones
  }
  void convert() {
    QFETCH(QString, Input);
    QFETCH(bool, Ok);
    QFETCH(int, Expected);
    try {
      QCOMPARE(StrToInt(Input), Expected);
      QVERIFY2(Ok, "no error raised");
    } catch (const EConvertError &E) {
      QVERIFY2(!Ok, E.what());
      QCOMPARE(QString::fromUtf8(E.what()), "'" + Input + "' is not a valid integer value");
    }
  }
};

QTEST_GUILESS_MAIN(TstStrToInt)
#include "tst_strtoint.moc"
