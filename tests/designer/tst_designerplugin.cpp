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

  // The form's saved values, read back through the properties (enumerations
  // by name); the combo boxes' items come from the store, the unit edit's
  // parts and the version label's caption from Loaded.
  void CheckForm(QWidget *Top) {
    const QStringList Saved = {
        "MRUCombo1.StorageKey=Software\\Designer Form\\MRU", "MRUCombo1.StorageRegistryRootKey=atrkCurrentUser",
        "MRUCombo2.StorageRegistryRootKey=atrkLocalMachine", "MRUCombo1.ItemHeight=17", "MRUCombo1.ShowLatest=true",
        "MRUCombo2.ShowLatest=false", "URLStatic1.URL=https://www.numbrook.com/", "URLStatic1.text=Numbrook Software",
        "FancyButton1.ModalResult=fmrCancel", "FancyButton1.NumGlyphs=4", "FancyButton1.GroupIndex=3",
        "FancyButton1.AllowAllUp=true", "AnimatedLabel1.AnimationType=atFly", "AnimatedLabel1.Interval=250",
        "AnimatedLabel1.Color=#ffffe0", "NumberEdit1.NumberType=ntFloat", "NumberEdit1.Value=2.5",
        "UnitEdit1.Unit=mm", "UnitEdit1.Value=12.5", "UnitEdit1.UnitColor=#e0ffe0"};
    QStringList Read;
    for (const QString &Entry : Saved) {
      const QString Name = Entry.section(u'.', 0, 0), Property = Entry.section(u'.', 1).section(u'=', 0, 0);
      QObject *Widget = Top->findChild<QObject *>(Name);
      const bool Running = Widget && ComponentOf(Widget) && !ComponentOf(Widget)->InState(csDesigning);
      Read << Name + u'.' + Property + u'=' + (Running ? Widget->property(qPrintable(Property)).toString() : "?");
    }
    QCOMPARE(Read, Saved);
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
    QVERIFY(StoreFile.startsWith(Config.path()) && QDir().mkpath(QFileInfo(StoreFile).absolutePath()));
    QVERIFY(Spit(StoreFile, History));

    QVERIFY2(Loader.load(), qPrintable(Loader.errorString()));
    auto *Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(Loader.instance());
    QVERIFY(Collection);
    Widgets = Collection->customWidgets();
  }

  // Before Designer initialises the plugin (the case of a running program's
  // form loader) its widgets are ordinary ones: a loaded form reads the store.
  // A widget the plugin lacks comes out a plain Qt widget, which CheckForm
  // tells. This runs before any test initialises the plugin.
  void formInLoader() {
    QUiLoader UiLoader;
    UiLoader.clearPluginPaths();
    UiLoader.addPluginPath(QFileInfo(Loader.fileName()).absolutePath());
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
  // then are in the design state, and a form saved with them names headers
  // the library installs. A designed combo box stores its properties and
  // reads and writes no store, even when its form is loaded. The property
  // editor sets an enumeration by name.
  void designState() {
    QDesignerFormEditorInterface Core;
    QWidget Form;
    QMap<QString, QWidget *> MadeBy;
    for (QDesignerCustomWidgetInterface *W : Widgets) {
      W->initialize(&Core);
      QWidget *Made = MadeBy[W->name()] = W->createWidget(&Form);
      QVERIFY(Made && Made->parent() == &Form && ComponentOf(Made) && ComponentOf(Made)->InState(csDesigning));
      QCOMPARE(QString::fromLatin1(Made->metaObject()->className()), W->name());
      QVERIFY2(QFileInfo::exists(QStringLiteral(QUINTOR_COMPONENTS_DIR "/") + W->includeFile()),
               qPrintable(W->includeFile()));
      QXmlStreamReader Xml(W->domXml());
      while (!Xml.atEnd() && !(Xml.isStartElement() && Xml.name() == u"widget")) Xml.readNext();
      QCOMPARE(Xml.attributes().value("class").toString(), W->name());
    }
    auto *Combo = qobject_cast<QComboBox *>(MadeBy["TMRUCombo"]);
    QVERIFY(Combo->setProperty("StorageKey", QStringLiteral("Software\\Designer Form\\MRU")));
    QVERIFY(Combo->setProperty("StorageRegistryRootKey", QStringLiteral("atrkCurrentUser")));
    LoadComponents(&Form);
    QCOMPARE(std::pair(Combo->count(), Combo->property("StorageKey").toString()),
             std::pair(0, QStringLiteral("Software\\Designer Form\\MRU")));
    QCOMPARE(Slurp(StoreFile), History);
    QWidget *Button = MadeBy["TFancyButton"];
    QVERIFY(Button->setProperty("State", QStringLiteral("fbsDown")));
    QCOMPARE(Button->property("State").toInt(), int(TFancyButton::fbsDown));
  }
};

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
