#pragma once

// What an assistive tool (a screen reader through the desktop's
// accessibility bus) reads of the library's own controls, for every program
// that uses them:
//
//   TFancyButton  a push button named by its accessible name or else its
//                 caption without the "&"; a grouped one is checkable and
//                 checked while down; its press action acts as Enter does.
//   TURLStatic    a link named by its caption, described by its address;
//                 its press action opens the address.
//
// TAnimatedLabel reads as the plain label of its caption, and TNumberEdit as
// the toolkit's editable text (inside a TUnitEdit described by the unit):
// they need nothing of their own here.
//
// The controls install the interfaces when the first of them is made, so a
// program does nothing; a program that wants them before that may call
// InstallComponentAccessibility() itself (any number of times).

class QWidget;

void InstallComponentAccessibility();

// Tells an assistive tool that a grouped button went down or came up.
void NotifyDownChanged(QWidget *Button);
