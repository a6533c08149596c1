#pragma once
#include <QWidget>
// A plain window until the game board exists.
QWidget *CreateStartWindow();
