#include "ComponentAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QUrl>

#include "FancyButton.h"
#include "URLStatic.h"

namespace {

// "&x" shows as x, "&&" as "&".
QString WithoutAccelerator(const QString &Caption) {
  QString Plain;
  for (qsizetype I = 0; I < Caption.size(); ++I) {
    if (Caption[I] == QLatin1Char('&') && I + 1 < Caption.size()) ++I;
    Plain += Caption[I];
  }
  return Plain;
}

class TFancyButtonAccessible : public QAccessibleWidget {
 public:
  explicit TFancyButtonAccessible(TFancyButton *Button) : QAccessibleWidget(Button, QAccessible::Button) {}

  QString text(QAccessible::Text Kind) const override {
    if (Kind == QAccessible::Name && Button()->accessibleName().isEmpty())
      return WithoutAccelerator(Button()->GetCaption());
    return QAccessibleWidget::text(Kind);
  }
  QAccessible::State state() const override {
    QAccessible::State State = QAccessibleWidget::state();
    State.checkable = Button()->GetGroupIndex() != 0;
    State.checked = State.checkable && Button()->GetDown();
    return State;
  }
  QStringList actionNames() const override {
    QStringList Names = QAccessibleWidget::actionNames();
    if (Button()->isEnabled()) Names.prepend(pressAction());
    return Names;
  }
  void doAction(const QString &Name) override {
    if (Name != pressAction() || !Button()->isEnabled()) return QAccessibleWidget::doAction(Name);
    // A grouped button goes down or up as under a click; then the press is
    // the one Enter makes: it closes a dialog by its modal result and clicks.
    if (Button()->GetGroupIndex() != 0) Button()->SetDown(!Button()->GetDown());
    QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(Button(), &Enter);
  }

 private:
  TFancyButton *Button() const { return static_cast<TFancyButton *>(widget()); }
};

class TURLStaticAccessible : public QAccessibleWidget {
 public:
  explicit TURLStaticAccessible(TURLStatic *Link) : QAccessibleWidget(Link, QAccessible::Link) {}

  QString text(QAccessible::Text Kind) const override {
    if (Kind == QAccessible::Name && Link()->accessibleName().isEmpty()) return WithoutAccelerator(Link()->text());
    if (Kind == QAccessible::Description && Link()->accessibleDescription().isEmpty()) return Link()->GetURL();
    return QAccessibleWidget::text(Kind);
  }
  QAccessible::State state() const override {
    QAccessible::State State = QAccessibleWidget::state();
    State.linked = true;
    return State;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString &Name) override {
    if (Name == pressAction()) QDesktopServices::openUrl(QUrl(Link()->GetURL()));
  }

 private:
  TURLStatic *Link() const { return static_cast<TURLStatic *>(widget()); }
};

QAccessibleInterface *ComponentAccessibleFactory(const QString &, QObject *Object) {
  if (auto *Button = qobject_cast<TFancyButton *>(Object)) return new TFancyButtonAccessible(Button);
  if (auto *Link = qobject_cast<TURLStatic *>(Object)) return new TURLStaticAccessible(Link);
  return nullptr;
}

}  // namespace

void InstallComponentAccessibility() {
  static const bool Installed = [] {
    QAccessible::installFactory(ComponentAccessibleFactory);
    return true;
  }();
  (void)Installed;
}

void NotifyDownChanged(QWidget *Button) {
  if (!QAccessible::isActive()) return;
  QAccessible::State Changed;
  Changed.checked = true;
  QAccessibleStateChangeEvent Event(Button, Changed);
  QAccessible::updateAccessibility(&Event);
}
