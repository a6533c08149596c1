#pragma once

// Start-up probe for the benchmark programs: once the watched window has
// been painted for the first time, it prints the monotonic clock in
// nanoseconds ("first-paint-ns <n>") on standard output and ends the event
// loop. The driver compares that time with the moment it started the process.

class QWidget;

void InstallFirstPaintProbe(QWidget *Window);
