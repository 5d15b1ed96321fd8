#include <QApplication>

#include <gtest/gtest.h>

// The widget tests need one QApplication for the whole test program; the test runner sets
// QT_QPA_PLATFORM=offscreen, so no display is needed.
namespace {

class QtEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "vexlo-widget-tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
