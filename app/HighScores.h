#pragma once

// The top ten as the main window reaches it: the threshold, the name entry
// for a qualifying game, and the list dialog. The top-ten dialog provides it;
// until one is plugged in, the main window shows "Game Over" for every game.
class THighScores {
 public:
  virtual ~THighScores() = default;
  virtual int GetTenthScore() = 0;
  virtual void EnterNewScore(int Total, int Quintors) = 0;  // asks the name, writes the entry
  virtual void ShowList() = 0;                              // the list, modally
};
