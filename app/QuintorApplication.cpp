#include "QuintorApplication.h"

#include <QEvent>
#include <QMessageBox>
#include <exception>

#include "HelpWindow.h"

namespace quintor {

TQuintorApplication::TQuintorApplication(int &Argc, char **Argv) : QApplication(Argc, Argv) {}

TQuintorApplication::~TQuintorApplication() = default;

TQuintorApplication *TQuintorApplication::Instance() {
  return qobject_cast<TQuintorApplication *>(QCoreApplication::instance());
}

bool TQuintorApplication::HelpCommand(int Command, int /*Data*/) {
  if (Command != HelpContents) return false;
  const QStringList Folders = THelpWindow::SearchFolders();
  const QString Document = THelpWindow::FindDocument(FHelpFile, Folders);
  if (!FHelpWindow) FHelpWindow = std::make_unique<THelpWindow>();
  if (FHelpWindow->ShowContents(Document)) return true;
  QMessageBox::warning(activeWindow(), FTitle,
                       tr("The help file %1 cannot be opened: its document was not found in\n%2")
                           .arg(FHelpFile, Folders.join(QLatin1Char('\n'))));
  return false;
}

bool TQuintorApplication::notify(QObject *Receiver, QEvent *Event) {
  if (!FShowHint && Event->type() == QEvent::ToolTip) return true;
  try {
    return QApplication::notify(Receiver, Event);
  } catch (const std::exception &Error) {
    ShowException(QString::fromLocal8Bit(Error.what()));
  } catch (...) {
    ShowException(tr("Unknown error"));
  }
  return false;
}

void TQuintorApplication::ShowException(const QString &Message) {
  QMessageBox Box(QMessageBox::Critical, FTitle, Message, QMessageBox::Ok, activeWindow());
  Box.setObjectName(QStringLiteral("ErrorBox"));
  Box.exec();
}

}  // namespace quintor
