#pragma once

#include <QApplication>

// Widgets need an application; the benchmarks run without a display. Call before making any
// widget; the application lives until the program ends and is never destroyed: destroyed among
// the exit handlers, it would follow Qt's own statics (the input devices of synthesized mouse
// events) and crash the program after its figures are out.
inline bool EnsureApplication() {
  static int argc = 1;
  static char name[] = "vexlo_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return true;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static const QApplication* const app = new QApplication(argc, argv);
  return app != nullptr;
}
