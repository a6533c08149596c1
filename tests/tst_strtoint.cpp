// The strict conversion accepts exactly one signed 32-bit integer and names
// the rejected input, as given, in its message.
#include <QtTest>

#include "StrToInt.h"

class TstStrToInt : public QObject {
  Q_OBJECT
 private slots:
  void convert_data() {
    QTest::addColumn<QString>("Input");
    QTest::addColumn<bool>("Ok");
    QTest::addColumn<int>("Expected");
    const auto Good = [](const char *Name, const QString &In, int Out) { QTest::newRow(Name) << In << true << Out; };
    const auto Bad = [](const char *Name, const QString &In) { QTest::newRow(Name) << In << false << 0; };
    Good("123", "123", 123);
    Good("+123", "+123", 123);
    Good("leading zeros", "007", 7);
    Good("-123", "-123", -123);
    Good("leading spaces", "  12", 12);
    Good("$1F", "$1F", 31);
    Good("0x1F", "0x1F", 31);
    Good("0X1F", "0X1F", 31);
    Good("x1F", "x1F", 31);
    Good("X1F", "X1F", 31);
    Good("$1f", "$1f", 31);
    Good("-$1F", "-$1F", -31);
    Good("-0x1F", "-0x1F", -31);
    Good("hex leading zeros", "$000000001F", 31);
    Good("max", "2147483647", 2147483647);
    Good("min", "-2147483648", -2147483647 - 1);
    Good("$7FFFFFFF", "$7FFFFFFF", 2147483647);
    Good("$80000000", "$80000000", -2147483647 - 1);
    Good("$FFFFFFFF", "$FFFFFFFF", -1);
    Good("many zeros", "0000000000000000000000001", 1);
    Bad("trailing space", "12 ");
    Bad("tab", "\t12");
    Bad("inner space", "1 2");
    Bad("space after sign", "- 1");
    Bad("two signs", "+-1");
    Bad("empty", "");
    Bad("spaces only", "  ");
    Bad("$", "$");
    Bad("0x", "0x");
    Bad("-", "-");
    Bad("+", "+");
    Bad("$-1", "$-1");
    Bad("hex without prefix", "1F");
    Bad("decimal point", "1.0");
    Bad("exponent", "1e3");
    Bad("thousands", "1,000");
    Bad("max + 1", "2147483648");
    Bad("min - 1", "-2147483649");
    Bad("4294967295", "4294967295");
    Bad("$100000000", "$100000000");
    Bad("wraps back into range", "18446744073709551617");
    Bad("Arabic-Indic digits", u"\u0661\u0662"_qs);
  }
  void convert() {
    QFETCH(QString, Input);
    QFETCH(bool, Ok);
    QFETCH(int, Expected);
    try {
      const int Value = StrToInt(Input);
      QVERIFY2(Ok, "no error raised");
      QCOMPARE(Value, Expected);
    } catch (const EConvertError &E) {
      QVERIFY2(!Ok, E.what());
      QCOMPARE(QString::fromUtf8(E.what()), QStringLiteral("'%1' is not a valid integer value").arg(Input));
    }
  }
};

QTEST_GUILESS_MAIN(TstStrToInt)
#include "tst_strtoint.moc"
