#pragma once

// The application object: its title, its help file, the tooltip switch and
// the default error handler. Qt lets no exception cross its event loop, so
// notify() catches whatever escapes an event handler, shows its text in a
// message box and lets the program go on.

#include <QApplication>
#include <QString>
#include <memory>

namespace quintor {

class THelpWindow;

class TQuintorApplication : public QApplication {
  Q_OBJECT

 public:
  // Help engine commands.
  static constexpr int HelpContents = 3;

  TQuintorApplication(int &Argc, char **Argv);
  ~TQuintorApplication() override;

  static TQuintorApplication *Instance();

  QString GetTitle() const { return FTitle; }
  void SetTitle(const QString &Title) { FTitle = Title; }
  QString GetHelpFile() const { return FHelpFile; }
  void SetHelpFile(const QString &HelpFile) { FHelpFile = HelpFile; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Show) { FShowHint = Show; }

  // Asks the help engine for the help file. Only the contents command is
  // known; it opens the help window, or tells the player why it cannot.
  bool HelpCommand(int Command, int Data);
  THelpWindow *HelpWindow() const { return FHelpWindow.get(); }

  bool notify(QObject *Receiver, QEvent *Event) override;

  // The default error handler: the message as it stands, in a message box.
  void ShowException(const QString &Message);

 private:
  QString FTitle;
  QString FHelpFile;
  bool FShowHint = false;
  std::unique_ptr<THelpWindow> FHelpWindow;
};

}  // namespace quintor
