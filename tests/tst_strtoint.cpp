// The strict conversion accepts exactly one signed 32-bit integer and names
// the rejected input, as given, in its message. The boundary pairs are where
// hand-written parsers fail.
#include <QtTest>

#include "StrToInt.h"
#include "TopTenTestSupport.h"

class TstStrToInt : public QObject {
  Q_OBJECT
 private slots:
  void convert_data() {
    QTest::addColumn<QString>("Input");
    QTest::addColumn<int>("Expected");  // 0 for the rows that must fail
    for (const auto &[In, Out] : std::initializer_list<std::pair<QString, int>>{
             {"+007", 7}, {"-123", -123}, {"  12", 12}, {"$1f", 31}, {"0X1F", 31}, {"x1F", 31},
             {"-$1F", -31}, {"-0x1F", -31}, {"$000000001F", 31}, {"2147483647", 2147483647},
             {"-2147483648", -2147483647 - 1}, {"$80000000", -2147483647 - 1}, {"$FFFFFFFF", -1}})
      QTest::newRow(qPrintable(In)) << In << Out;
    for (const QString In : {"12 ", "\t12", "- 1", "+-1", "", "  ", "$", "0x", "-", "$-1", "1F", "1.0",
                             "1,000", "2147483648", "-2147483649", "$100000000", "18446744073709551617",
                             "\u0661\u0662" /* digits, but not ASCII ones */})
      QTest::newRow(qPrintable("bad " + In)) << In << 0;
  }
  void convert() {
    QFETCH(QString, Input);
    QFETCH(int, Expected);
    int Got = 0;
    const QString Error = ErrorOf([&] { Got = StrToInt(Input); });
    QCOMPARE(Error, Expected ? QString() : "'" + Input + "' is not a valid integer value");
    QCOMPARE(Got, Expected);
  }
};

QTEST_GUILESS_MAIN(TstStrToInt)
#include "tst_strtoint.moc"
