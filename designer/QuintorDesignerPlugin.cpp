#include "QuintorDesignerPlugin.h"

#include <QIcon>
#include <QWidget>

#include "AnimatedLabel.h"
#include "Component.h"
#include "FancyButton.h"
#include "Mrucombo.h"
#include "NumberEdit.h"
#include "UnitEdit.h"
#include "URLStatic.h"
#include "Version.h"

namespace {

// One widget of the library on Designer's widget box.
struct TPaletteEntry {
  const char *ClassName;
  const char *Header;  // what a form's <customwidget> names, as installed
  const char *ToolTip;
  QWidget *(*Create)(QWidget *Parent);
};

template <typename TWidget>
QWidget *Create(QWidget *Parent) {
  return new TWidget(Parent);
}

// Adding a widget to the library adds one line here.
const TPaletteEntry Palette[] = {
    {"TMRUCombo", "Mrucombo.h", "Combo box that remembers the texts typed into it", &Create<TMRUCombo>},
    {"TVersionLabel", "Version.h", "Label showing the program's file version", &Create<TVersionLabel>},
    {"TURLStatic", "URLStatic.h", "Link label that opens its URL", &Create<TURLStatic>},
    {"TAnimatedLabel", "AnimatedLabel.h", "Label that flashes, flies or fades its caption", &Create<TAnimatedLabel>},
    {"TFancyButton", "FancyButton.h", "Button drawn as one picture of a glyph strip", &Create<TFancyButton>},
    {"TNumberEdit", "NumberEdit.h", "Edit for a whole or decimal number", &Create<TNumberEdit>},
    {"TUnitEdit", "UnitEdit.h", "Number edit with its unit beside it", &Create<TUnitEdit>},
};

const QString Group = QStringLiteral("Quintor Components");

class TPaletteWidget : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  TPaletteWidget(const TPaletteEntry &Entry, QObject *Parent) : QObject(Parent), FEntry(Entry) {}

  QString name() const override { return QLatin1String(FEntry.ClassName); }
  QString group() const override { return Group; }
  QString toolTip() const override { return QLatin1String(FEntry.ToolTip); }
  QString whatsThis() const override { return toolTip(); }
  QString includeFile() const override { return QLatin1String(FEntry.Header); }
  QIcon icon() const override { return {}; }
  bool isContainer() const override { return false; }

  // The default object name drops the class prefix: TMRUCombo gives MRUCombo1.
  QString domXml() const override {
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\"/></ui>")
        .arg(name(), name().mid(1) + QLatin1Char('1'));
  }

  // Designer itself initialises its plugins; a form loader of a running
  // program (QUiLoader) does not, and gets ordinary run-time widgets.
  void initialize(QDesignerFormEditorInterface *Core) override {
    if (Core) FDesigning = true;
    FInitialized = true;
  }
  bool isInitialized() const override { return FInitialized; }

  QWidget *createWidget(QWidget *Parent) override {
    QWidget *Widget = FEntry.Create(Parent);
    if (FDesigning)
      if (auto *Component = dynamic_cast<TJComponent *>(Widget)) Component->Include(csDesigning);
    return Widget;
  }

 private:
  const TPaletteEntry &FEntry;
  bool FInitialized = false;
  bool FDesigning = false;
};

}  // namespace

TQuintorDesignerWidgets::TQuintorDesignerWidgets(QObject *Parent) : QObject(Parent) {
  for (const TPaletteEntry &Entry : Palette) FWidgets.append(new TPaletteWidget(Entry, this));
}

#include "QuintorDesignerPlugin.moc"
