// The library's Qt Designer plugin: the widgets it offers, the design state
// of the widgets Designer makes, their enumerations by name, and one form
// saved with every library widget, built the way a program builds it
// (setupUi + LoadComponents) and the way a form loader does.

#include <QPluginLoader>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include "AnimatedLabel.h"
#include "Component.h"
#include "FancyButton.h"
#include "Mrucombo.h"
#include "NumberEdit.h"
#include "RegistryStore.h"
#include "URLStatic.h"
#include "UnitEdit.h"
#include "Version.h"
#include "ui_DesignerForm.h"

// Every widget of the library, in the plugin's order.
static const QStringList LibraryWidgets = {"TMRUCombo",      "TVersionLabel", "TURLStatic", "TAnimatedLabel",
                                           "TFancyButton",   "TNumberEdit",   "TUnitEdit"};

static const QByteArray History =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Designer Form\\MRU]\n"
    "\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n\"Count\"=dword:00000002\n";

static QStringList Items(const QComboBox *Combo) {
  QStringList List;
  for (int I = 0; I < Combo->count(); ++I) List << Combo->itemText(I);
  return List;
}

// The plugin's widgets come from the plugin's own copy of the library, so
// their class is told by name and their component part by dynamic_cast.
static TJComponent *ComponentOf(QObject *Object) { return dynamic_cast<TJComponent *>(Object); }

class TestDesignerPlugin : public QObject {
  Q_OBJECT
  QTemporaryDir Config;
  QString StoreFile;
  QPluginLoader Loader{QStringLiteral(QUINTOR_DESIGNER_PLUGIN)};
  QList<QDesignerCustomWidgetInterface *> Widgets;

  QDesignerCustomWidgetInterface *Widget(const QString &Name) const {
    for (QDesignerCustomWidgetInterface *W : Widgets)
      if (W->name() == Name) return W;
    return nullptr;
  }

 private slots:
  void initTestCase() {
    // Both copies of the library (the test's and the plugin's) find the
    // user's store here.
    qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    StoreFile = RegistryStoreFile(TRegistryRoot::CurrentUser);
    QVERIFY(StoreFile.startsWith(Config.path()));
    QVERIFY(QDir().mkpath(QFileInfo(StoreFile).absolutePath()));
    QFile Out(StoreFile);
    QVERIFY(Out.open(QIODevice::WriteOnly) && Out.write(History) == History.size());
    Out.close();

    QVERIFY2(Loader.load(), qPrintable(Loader.errorString()));
    auto *Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(Loader.instance());
    QVERIFY(Collection);
    Widgets = Collection->customWidgets();
  }

  void palette() {
    QStringList Names;
    for (QDesignerCustomWidgetInterface *W : Widgets) {
      Names << W->name();
      QCOMPARE(W->group(), QStringLiteral("Quintor Components"));
      QVERIFY(!W->isContainer());
      // The header a saved form names is one the library installs.
      QVERIFY2(QFileInfo::exists(QStringLiteral(QUINTOR_COMPONENTS_DIR "/") + W->includeFile()),
               qPrintable(W->includeFile()));
      QXmlStreamReader Xml(W->domXml());
      while (!Xml.atEnd() && !(Xml.isStartElement() && Xml.name() == u"widget")) Xml.readNext();
      QCOMPARE(Xml.attributes().value("class").toString(), W->name());
      QCOMPARE(Xml.attributes().value("name").toString(), W->name().mid(1) + "1");
    }
    QCOMPARE(Names, LibraryWidgets);
  }

  // Before Designer initialises the plugin (the case of a running program's
  // form loader) its widgets are ordinary ones: a loaded form reads the store.
  // This runs before any test initialises the plugin.
  void formInLoader() {
    QUiLoader UiLoader;
    UiLoader.clearPluginPaths();
    UiLoader.addPluginPath(QFileInfo(Loader.fileName()).absolutePath());
    for (const QString &Name : LibraryWidgets) QVERIFY2(UiLoader.availableWidgets().contains(Name), qPrintable(Name));
    QFile Form(QStringLiteral(QUINTOR_DESIGNER_FORM));
    QVERIFY(Form.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> Top(UiLoader.load(&Form));
    QVERIFY2(Top, qPrintable(UiLoader.errorString()));
    LoadComponents(Top.get());
    auto *Combo1 = Top->findChild<QComboBox *>("MRUCombo1");
    auto *Combo2 = Top->findChild<QComboBox *>("MRUCombo2");
    QVERIFY(Combo1 && Combo2 && ComponentOf(Combo1) && !ComponentOf(Combo1)->InState(csDesigning));
    QCOMPARE(Combo1->property("StorageKey").toString(), QStringLiteral("Software\\Designer Form\\MRU"));
    QCOMPARE(Combo1->property("StorageRegistryRootKey").toInt(), int(atrkCurrentUser));
    QCOMPARE(Combo2->property("StorageRegistryRootKey").toInt(), int(atrkLocalMachine));
    QCOMPARE(Combo1->property("ItemHeight").toInt(), 17);
    QCOMPARE(Combo1->property("ShowLatest").toBool(), true);
    QCOMPARE(Items(Combo1), (QStringList{"Ann", "Bob"}));
    QCOMPARE(Top->findChild<QLabel *>("URLStatic1")->property("URL").toString(), "https://www.numbrook.com/");
    auto *Button = Top->findChild<QWidget *>("FancyButton1");
    QVERIFY(Button && ComponentOf(Button) && !ComponentOf(Button)->InState(csDesigning));
    QCOMPARE(Button->property("ModalResult").toInt(), int(TFancyButton::fmrCancel));
    QCOMPARE(Button->property("NumGlyphs").toInt(), 4);
    QCOMPARE(Button->property("GroupIndex").toInt(), 3);
    QCOMPARE(Button->property("AllowAllUp").toBool(), true);
    auto *Animated = Top->findChild<QLabel *>("AnimatedLabel1");
    QVERIFY(Animated);
    QCOMPARE(Animated->property("AnimationType").toInt(), int(TAnimatedLabel::atFly));
    QCOMPARE(Animated->property("Interval").toInt(), 250);
    QCOMPARE(Animated->property("Color").value<QColor>(), QColor(255, 255, 224));
    auto *Number = Top->findChild<QLineEdit *>("NumberEdit1");
    QVERIFY(Number);
    QCOMPARE(Number->property("NumberType").toInt(), int(TNumberEdit::ntFloat));
    QCOMPARE(Number->property("Value").toDouble(), 2.5);
    auto *Unit = Top->findChild<QWidget *>("UnitEdit1");
    QVERIFY(Unit);
    QCOMPARE(Unit->property("Unit").toString(), QStringLiteral("mm"));
    QCOMPARE(Unit->property("Value").toDouble(), 12.5);
    QCOMPARE(Unit->property("UnitColor").value<QColor>(), QColor(224, 255, 224));
  }

  // What a program does with the same form: uic's setupUi, then LoadComponents.
  void formInProgram() {
    QWidget Top;
    Ui::DesignerForm Ui;
    Ui.setupUi(&Top);
    LoadComponents(&Top);
    QCOMPARE(Ui.MRUCombo1->Storage()->Key(), QStringLiteral("Software\\Designer Form\\MRU"));
    QCOMPARE(Ui.MRUCombo1->Storage()->RegistryRootKey(), atrkCurrentUser);
    QCOMPARE(Ui.MRUCombo2->Storage()->RegistryRootKey(), atrkLocalMachine);
    QCOMPARE(Ui.MRUCombo1->GetItemHeight(), 17);
    QCOMPARE(Ui.MRUCombo1->ShowLatest, true);
    QCOMPARE(Ui.MRUCombo2->ShowLatest, false);
    QCOMPARE(Items(Ui.MRUCombo1), (QStringList{"Ann", "Bob"}));
    QCOMPARE(Ui.URLStatic1->GetURL(), QStringLiteral("https://www.numbrook.com/"));
    QCOMPARE(Ui.URLStatic1->text(), QStringLiteral("Numbrook Software"));
    QCOMPARE(Ui.FancyButton1->ModalResult, TFancyButton::fmrCancel);
    QCOMPARE(Ui.FancyButton1->GetNumGlyphs(), 4);
    QCOMPARE(Ui.FancyButton1->GetGroupIndex(), 3);
    QCOMPARE(Ui.FancyButton1->GetAllowAllUp(), true);
    QCOMPARE(Ui.AnimatedLabel1->AnimationType, TAnimatedLabel::atFly);
    QCOMPARE(Ui.AnimatedLabel1->GetInterval(), 250);
    QCOMPARE(Ui.AnimatedLabel1->GetColor(), QColor(255, 255, 224));
    QCOMPARE(Ui.NumberEdit1->NumberType, TNumberEdit::ntFloat);
    QCOMPARE(Ui.NumberEdit1->GetValue(), 2.5f);
    QCOMPARE(Ui.UnitEdit1->GetUnit(), QStringLiteral("mm"));
    QCOMPARE(Ui.UnitEdit1->GetValue(), 12.5f);
    QCOMPARE(Ui.UnitEdit1->GetUnitColor(), QColor(224, 255, 224));
    QVERIFY(Ui.UnitEdit1->Edit() && Ui.UnitEdit1->UnitPart());  // made by Loaded
    // Loaded replaces the caption the form stored.
    QVERIFY(Ui.VersionLabel1->text().startsWith(QStringLiteral("Version ")));
  }

  void designState_data() {
    QTest::addColumn<QString>("Name");
    for (const QString &Name : LibraryWidgets) QTest::newRow(qPrintable(Name)) << Name;
  }
  void designState() {
    QFETCH(QString, Name);
    QDesignerFormEditorInterface Core;
    QDesignerCustomWidgetInterface *W = Widget(Name);
    QVERIFY(W);
    W->initialize(&Core);
    QVERIFY(W->isInitialized());
    QWidget Form;
    QWidget *Made = W->createWidget(&Form);
    QVERIFY(Made && Made->parent() == &Form);
    QCOMPARE(QString::fromLatin1(Made->metaObject()->className()), Name);
    QVERIFY(ComponentOf(Made) && ComponentOf(Made)->InState(csDesigning));
  }

  // A combo box on a Designer form stores its properties and reads and
  // writes no store, even when its form is loaded.
  void designedComboTouchesNoStore() {
    QDesignerFormEditorInterface Core;
    QDesignerCustomWidgetInterface *W = Widget("TMRUCombo");
    W->initialize(&Core);
    QWidget Form;
    auto *Combo = qobject_cast<QComboBox *>(W->createWidget(&Form));
    QVERIFY(Combo);
    QVERIFY(Combo->setProperty("StorageKey", QStringLiteral("Software\\Designer Form\\MRU")));
    QVERIFY(Combo->setProperty("StorageRegistryRootKey", QStringLiteral("atrkCurrentUser")));
    LoadComponents(&Form);
    QCOMPARE(Combo->count(), 0);
    QCOMPARE(Combo->property("StorageKey").toString(), QStringLiteral("Software\\Designer Form\\MRU"));
    QFile In(StoreFile);
    QVERIFY(In.open(QIODevice::ReadOnly));
    QCOMPARE(In.readAll(), History);
  }

  // Designer's property editor lists an enumeration's values by name and
  // sets them by name.
  void enumerationsByName_data() {
    QTest::addColumn<QString>("Name");
    QTest::addColumn<QByteArray>("Property");
    QTest::addColumn<QByteArray>("Key");
    QTest::addColumn<int>("Value");
    QTest::newRow("combo box's storage root") << "TMRUCombo" << QByteArray("StorageRegistryRootKey")
                                              << QByteArray("atrkLocalMachine") << int(atrkLocalMachine);
    QTest::newRow("glyph button's modal result")
        << "TFancyButton" << QByteArray("ModalResult") << QByteArray("fmrYes") << int(TFancyButton::fmrYes);
    QTest::newRow("animated label's effect")
        << "TAnimatedLabel" << QByteArray("AnimationType") << QByteArray("atFade") << int(TAnimatedLabel::atFade);
    QTest::newRow("number edit's kind")
        << "TNumberEdit" << QByteArray("NumberType") << QByteArray("ntFloat") << int(TNumberEdit::ntFloat);
    QTest::newRow("glyph button's state")
        << "TFancyButton" << QByteArray("State") << QByteArray("fbsDown") << int(TFancyButton::fbsDown);
  }
  void enumerationsByName() {
    QFETCH(QString, Name);
    QFETCH(QByteArray, Property);
    QFETCH(QByteArray, Key);
    QFETCH(int, Value);
    QWidget Form;
    QWidget *Made = Widget(Name)->createWidget(&Form);
    const QMetaObject *Meta = Made->metaObject();
    const QMetaProperty P = Meta->property(Meta->indexOfProperty(Property));
    QVERIFY(P.isValid() && P.isWritable() && P.isDesignable());
    QVERIFY(P.isEnumType());
    QCOMPARE(P.enumerator().keyToValue(Key), Value);
    QVERIFY(Made->setProperty(Property, QString::fromLatin1(Key)));
    QCOMPARE(Made->property(Property).toInt(), Value);
  }
};

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
