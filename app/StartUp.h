#pragma once

// The program's start-up, shared by main() and the start-up benchmark.

#include <functional>

class TMainForm;

namespace quintor {

class TQuintorApplication;

// Sets up the application object: title, help file, window icon.
void InitApplication(TQuintorApplication &App);

// Creates the windows in their order, shows the main window and runs the
// event loop until it closes. BeforeShow, when given, sees the main window
// just before it is shown.
int RunQuintor(TQuintorApplication &App, const std::function<void(TMainForm &)> &BeforeShow = {});

}  // namespace quintor
