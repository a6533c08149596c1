#include "HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ProgramPath.h"

namespace quintor {

THelpWindow::THelpWindow(QWidget *Parent) : QWidget(Parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(tr("Quintor Help"));
  // Closing the main window ends the program even while help is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  FBrowser = new QTextBrowser(this);
  FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
  FBrowser->setOpenExternalLinks(true);
  auto *Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->addWidget(FBrowser);
  resize(560, 600);
}

void THelpWindow::keyPressEvent(QKeyEvent *Event) {
  // A window that only shows: Escape puts it away.
  if (Event->matches(QKeySequence::Cancel))
    close();
  else
    QWidget::keyPressEvent(Event);
}

QStringList THelpWindow::SearchFolders() {
  const QString ProgramFolder = QFileInfo(ProgramFilePath()).absolutePath();
  QStringList Folders = {ProgramFolder, ProgramFolder + QStringLiteral("/help"),
                         QDir::cleanPath(ProgramFolder + QStringLiteral("/../share/quintor/help"))};
  for (const QString &Data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    Folders << Data + QStringLiteral("/quintor/help");
  Folders.removeDuplicates();
  return Folders;
}

QString THelpWindow::FindDocument(const QString &HelpFile, const QStringList &Folders) {
  // Only the bare name counts: the help file names a document, not a place.
  const QString Name = QFileInfo(HelpFile).completeBaseName() + QStringLiteral(".html");
  if (QFileInfo(HelpFile).completeBaseName().isEmpty()) return {};
  for (const QString &Folder : Folders) {
    const QFileInfo Candidate(QDir(Folder), Name);
    if (Candidate.isFile() && Candidate.isReadable()) return Candidate.absoluteFilePath();
  }
  return {};
}

bool THelpWindow::ShowContents(const QString &DocumentPath) {
  QFile Document(DocumentPath);
  if (DocumentPath.isEmpty() || !Document.open(QIODevice::ReadOnly)) return false;
  Document.close();
  FDocumentPath = DocumentPath;
  // The contents are the document's first page, shown from its title.
  FBrowser->setSource(QUrl::fromLocalFile(DocumentPath));
  FBrowser->verticalScrollBar()->setValue(0);
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace quintor
