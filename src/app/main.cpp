#include <QApplication>

#include <memory>
#include <string>
#include <vector>

#include "app/CVexloApp.h"
#include "app/CommandLine.h"
#include "app/DesktopPlatform.h"
#include "common/RealtimeThread.h"
#include "platform/linux/RtkitRealtimeBroker.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const vexlo::CommandLine commandLine = vexlo::ParseCommandLine(arguments);

  // The one-shot switches end without any window, so they need no display either.
  std::unique_ptr<QApplication> application;
  if (commandLine.action == vexlo::CommandLine::Action::Run) {
    application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLO_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
  }

  // Before the backends and the program, so it outlives every thread that asks it.
  vexlo::RtkitRealtimeBroker realtimeBroker;
  vexlo::SetRealtimeBroker(&realtimeBroker);
  vexlo::Platform platform = vexlo::MakeDesktopPlatform();
  vexlo::CVexloApp app(platform);
  return app.Run(commandLine);
}
