// The number edit: the text a Value is written as and what a text reads as,
// with a point and with a comma as the decimal separator; and the unit edit:
// when and where its parts are made, its colours, and the writes it holds
// until its parts exist.

#include <QLabel>
#include <cfloat>

#include "NumberEdit.h"
#include "TestSupport.h"
#include "UnitEdit.h"

namespace {

const QLocale Point = QLocale::c();
const QLocale Comma(QLocale::German, QLocale::Germany);

QRect Geometry(const QWidget *Part) { return Part ? Part->geometry() : QRect(); }

}  // namespace

class TestNumberEdit : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QLocale::setDefault(Point); }

  void setValue_data() {
    // Columns: Locale, Value, Text, ReadBack.
    TTable<QLocale, float, QString, float>::Add();
    const auto Row = [](const char *Case, const QLocale &Locale = Point) -> QTestData & {
      return QTest::newRow(Case) << Locale;
    };
    Row("cut to 7 digits") << 123.456789f << "123.4568" << 123.4568f;
    Row("exponent form") << 12345678.0f << "1.234568E+7" << 12345680.0f;
    Row("comma, small exponent form", Comma) << -0.00001234567f << "-1,234567E-5" << -0.00001234567f;
    Row("whole number keeps its zeros") << 1000.0f << "1000" << 1000.0f;
    Row("seven digits, no exponent") << 9999999.0f << "9999999" << 9999999.0f;
    Row("1.2999999523 rounds up, carrying") << 1.3f << "1.3" << 1.3f;
    Row("ten thousandth, no exponent") << 0.0001f << "0.0001" << 0.0001f;
    Row("hundred thousandth") << 0.00001f << "1E-5" << 0.00001f;
    Row("minus zero") << -0.0f << "0" << 0.0f;
    Row("infinity") << std::numeric_limits<float>::infinity() << "INF" << 0.0f;
  }

  // The read-back is the written text's value: 7 digits, then single precision.
  void setValue() {
    const auto [Locale, Value, Text, ReadBack] = TTable<QLocale, float, QString, float>::Row();
    QLocale::setDefault(Locale);
    TNumberEdit Edit;
    Edit.SetValue(Value);
    QCOMPARE(std::pair(Edit.text(), Edit.GetValue()), std::pair(Text, ReadBack));
  }

  void readText_data() {
    // Columns: Locale, Text, Valid, Value.
    TTable<QLocale, QString, bool, float>::Add();
    QTest::newRow("letters") << Point << "abc" << false << 0.0f;
    QTest::newRow("comma where the point is the separator") << Point << "1,5" << false << 0.0f;
    QTest::newRow("point where the comma is the separator") << Comma << "1.5" << false << 0.0f;
    QTest::newRow("group separator") << Comma << "1.000,5" << false << 0.0f;
    QTest::newRow("two separators") << Point << "1.5.2" << false << 0.0f;
    QTest::newRow("spaces around, sign") << Comma << "  -2,5 " << true << -2.5f;
    QTest::newRow("exponent, lower case") << Point << "+1.5e3" << true << 1500.0f;
    QTest::newRow("exponent without digits") << Point << "1e" << false << 0.0f;
    QTest::newRow("infinity spelled out") << Point << "inf" << false << 0.0f;
    QTest::newRow("beyond double") << Point << "1e400" << false << 0.0f;
    QTest::newRow("a number beyond single") << Point << "1e39" << true << 0.0f;
    QTest::newRow("rounds to the largest single") << Point << "3.4028235e38" << true << FLT_MAX;
    QTest::newRow("the largest single, long") << Point << "-3.40282347e+38" << true << -FLT_MAX;
    QTest::newRow("rounds beyond single") << Point << "3.4028236e38" << true << 0.0f;
  }

  // Reading never changes the text.
  void readText() {
    const auto [Locale, Text, Valid, Value] = TTable<QLocale, QString, bool, float>::Row();
    QLocale::setDefault(Locale);
    TNumberEdit Edit;
    Edit.setText(Text);
    QCOMPARE(std::tuple(Edit.Validate(), Edit.GetValue(), Edit.text()), std::tuple(Valid, Value, Text));
  }

  // A length limit limits what is typed, not the Value written (also a
  // form's, at the float limit).
  void lengthLimit() {
    TNumberEdit Edit;
    Edit.setProperty("maxLength", 4);
    Edit.SetValue(123.456789f);
    QTest::keyClick(&Edit, Qt::Key_9);
    QCOMPARE(std::pair(Edit.text(), Edit.GetValue()), std::pair(QString("123.4568"), 123.4568f));
    Edit.selectAll();
    QTest::keyClicks(&Edit, "98765");
    QCOMPARE(Edit.text(), "9876");
    Edit.setProperty("Value", 3.4028235e38);
    QCOMPARE(std::pair(Edit.text(), Edit.maxLength()), std::pair(QString("3.402823E+38"), 4));
  }

  void unitEditParts_data() {
    QTest::addColumn<bool>("LoadedFirst");
    QTest::newRow("made when loaded") << true;
    QTest::newRow("made when first shown") << false;
  }

  // Made once, from the width at that moment, and never moved afterwards.
  void unitEditParts() {
    QFETCH(bool, LoadedFirst);
    TUnitEdit Unit;
    QVERIFY(!Unit.Edit());
    const auto Make = [&] { LoadedFirst ? LoadComponents(&Unit) : Unit.show(); };
    Make();
    QCOMPARE(std::pair(Geometry(Unit.Edit()), Geometry(Unit.UnitPart())), std::pair(QRect(0, 0, 70, 20), QRect(72, 2, 30, 18)));
    QVERIFY(Unit.Edit()->isVisibleTo(&Unit) && Unit.UnitPart()->isVisibleTo(&Unit));
    Unit.resize(200, 20);
    LoadedFirst = !LoadedFirst;
    Make();
    QCOMPARE(Geometry(Unit.UnitPart()), QRect(72, 2, 30, 18));
    QCOMPARE(Unit.findChildren<TNumberEdit *>().size(), 1);
  }

  // Written as a form writes them, before the parts exist; then written again.
  // The unit colour is the unit part's and the strip's between the parts; the
  // edit colour only the edit part's.
  void unitEditColoursAndEarlyWrites() {
    const QColor Cream(255, 255, 200), Sky(200, 230, 255), Rose(255, 200, 210), Mint(200, 255, 220);
    TUnitEdit Unit;
    Unit.SetUnit("mm");
    Unit.SetValue(2.5f);
    Unit.SetEditColor(Sky);
    Unit.SetUnitColor(Cream);
    QCOMPARE(Unit.GetValue(), 2.5f);
    LoadComponents(&Unit);
    QCOMPARE(std::pair(Unit.UnitPart()->text(), Unit.Edit()->text()), std::pair(QString("mm"), QString("2.5")));

    const auto Colours = [&Unit] {
      const QImage Image = Unit.grab().toImage();
      return std::tuple{QColor(Image.pixel(6, 10)), QColor(Image.pixel(71, 10)), QColor(Image.pixel(98, 4))};
    };
    QCOMPARE(Colours(), std::tuple(Sky, Cream, Cream));
    Unit.SetUnitColor(Rose);
    Unit.SetEditColor(Mint);
    Unit.SetUnit("kg");
    QCOMPARE(std::pair(Colours(), Unit.UnitPart()->text()), std::pair(std::tuple(Mint, Rose, Rose), QString("kg")));
  }
};

QTEST_MAIN(TestNumberEdit)
#include "tst_numberedit.moc"
