#pragma once

#include <QApplication>

// Widgets need an application; the benchmarks run without a display. Call before making any
// widget; the application lives until the program ends.
inline bool EnsureApplication() {
  static int argc = 1;
  static char name[] = "vexlo_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return true;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return true;
}
