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

#include "Component.h"
#include "FancyButton.h"
#include "RegistryStore.h"
#include "TestSupport.h"
#include "ui_DesignerForm.h"

// Every widget of the library, in the plugin's order.
static const QStringList LibraryWidgets = {"TMRUCombo",      "TVersionLabel", "TURLStatic", "TAnimatedLabel",
                                           "TFancyButton",   "TNumberEdit",   "TUnitEdit"};

static const QByteArray History =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Designer Form\\MRU]\n"
    "\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n\"Count\"=dword:00000002\n";

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

  // The form's saved values, read back through the properties; the combo
  // boxes' items come from the store, the unit edit's parts and the version
  // label's caption from Loaded.
  void CheckForm(QWidget *Top) {
    const std::tuple<const char *, const char *, QString> Saved[] = {
        {"MRUCombo1", "StorageKey", "Software\\Designer Form\\MRU"},
        {"MRUCombo1", "StorageRegistryRootKey", "atrkCurrentUser"},
        {"MRUCombo2", "StorageRegistryRootKey", "atrkLocalMachine"},
        {"MRUCombo1", "ItemHeight", "17"},
        {"MRUCombo1", "ShowLatest", "true"},
        {"MRUCombo2", "ShowLatest", "false"},
        {"URLStatic1", "URL", "https://www.numbrook.com/"},
        {"URLStatic1", "text", "Numbrook Software"},
        {"FancyButton1", "ModalResult", "fmrCancel"},
        {"FancyButton1", "NumGlyphs", "4"},
        {"FancyButton1", "GroupIndex", "3"},
        {"FancyButton1", "AllowAllUp", "true"},
        {"AnimatedLabel1", "AnimationType", "atFly"},
        {"AnimatedLabel1", "Interval", "250"},
        {"AnimatedLabel1", "Color", "#ffffe0"},
        {"NumberEdit1", "NumberType", "ntFloat"},
        {"NumberEdit1", "Value", "2.5"},
        {"UnitEdit1", "Unit", "mm"},
        {"UnitEdit1", "Value", "12.5"},
        {"UnitEdit1", "UnitColor", "#e0ffe0"},
    };
    for (const auto &[Name, Property, Value] : Saved) {
      QObject *Widget = Top->findChild<QObject *>(Name);
      QVERIFY2(Widget && ComponentOf(Widget) && !ComponentOf(Widget)->InState(csDesigning), Name);
      QCOMPARE(QStringLiteral("%1.%2=%3").arg(Name, Property, Widget->property(Property).toString()),
               QStringLiteral("%1.%2=%3").arg(Name, Property, Value));
    }
    QCOMPARE(Items(*Top->findChild<QComboBox *>("MRUCombo1")), (QStringList{"Ann", "Bob"}));
    QCOMPARE(Top->findChild<QWidget *>("UnitEdit1")->findChildren<QLineEdit *>().size(), 1);
    QVERIFY(Top->findChild<QLabel *>("VersionLabel1")->text().startsWith(QStringLiteral("Version ")));
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
    CheckForm(Top.get());
  }

  // What a program does with the same form: uic's setupUi, then LoadComponents.
  void formInProgram() {
    QWidget Top;
    Ui::DesignerForm Ui;
    Ui.setupUi(&Top);
    LoadComponents(&Top);
    CheckForm(&Top);
  }

  // Designer initialises every plugin with its core: the widgets it makes
  // then are in the design state.
  void designState() {
    QDesignerFormEditorInterface Core;
    QWidget Form;
    for (QDesignerCustomWidgetInterface *W : Widgets) {
      W->initialize(&Core);
      QVERIFY(W->isInitialized());
      QWidget *Made = W->createWidget(&Form);
      QVERIFY(Made && Made->parent() == &Form);
      QCOMPARE(QString::fromLatin1(Made->metaObject()->className()), W->name());
      QVERIFY(ComponentOf(Made) && ComponentOf(Made)->InState(csDesigning));
    }
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
  // sets them by name (the form above checks the others read back by name).
  void enumerationByName() {
    QWidget Form;
    QWidget *Button = Widget("TFancyButton")->createWidget(&Form);
    const QMetaProperty State = Button->metaObject()->property(Button->metaObject()->indexOfProperty("State"));
    QVERIFY(State.isWritable() && State.isDesignable() && State.isEnumType());
    QCOMPARE(State.enumerator().keyToValue("fbsDown"), int(TFancyButton::fbsDown));
    QVERIFY(Button->setProperty("State", QStringLiteral("fbsDown")));
    QCOMPARE(Button->property("State").toInt(), int(TFancyButton::fbsDown));
  }
};

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
