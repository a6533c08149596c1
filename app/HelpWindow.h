#pragma once

// The program's own help window: it shows the help document that stands for
// a help file name ("quintor.hlp" is shown from "quintor.html"), searched
// beside the program file and then in the installed data folders. Escape
// closes it.

#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace quintor {

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget *Parent = nullptr);

  // The folders searched for HelpFile's document, in order.
  static QStringList SearchFolders();
  // The document's full path, or empty when it is in none of Folders.
  static QString FindDocument(const QString &HelpFile, const QStringList &Folders);

  // Loads the document and shows it from its top, the title above the list
  // of contents. False (and the
  // window left as it was) when the document cannot be found or read.
  bool ShowContents(const QString &DocumentPath);
  QString GetDocumentPath() const { return FDocumentPath; }
  QTextBrowser *Browser() const { return FBrowser; }

 protected:
  void keyPressEvent(QKeyEvent *Event) override;

 private:
  QTextBrowser *FBrowser = nullptr;
  QString FDocumentPath;
};

}  // namespace quintor
