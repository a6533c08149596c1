#pragma once

// The fonts of the main window's fixed layout: "MS Sans Serif" at 11 pixels
// for the form, bold Arial at 24 pixels for the grand total. Where a face is
// missing, a sans-serif face with Arial's metrics stands in (Liberation
// Sans, Arimo, DejaVu Sans), so that every caption stays inside its place.

#include <QFont>

namespace quintor {

QFont FormFont();
QFont GrandTotalFont();

}  // namespace quintor
