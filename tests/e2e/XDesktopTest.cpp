#include "XDesktopTest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "common/IniFile.h"
#include "common/LanguageTable.h"

// Last: Xlib defines names as macros (None, Status, True) that other headers use.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vexlo::test {
namespace {

using namespace std::chrono_literals;

// The number after `label` in xwininfo's report, if it has one.
std::optional<int> ReportedNumber(const std::string& report, const std::string& label) {
  const auto at = report.find(label);
  if (at == std::string::npos) return std::nullopt;
  return std::stoi(report.substr(at + label.size()));
}

}  // namespace

struct XDesktopTest::Input {
  explicit Input(const std::string& display) : connection(XOpenDisplay(display.c_str())) {}
  ~Input() {
    if (connection) XCloseDisplay(connection);
  }
  Display* connection;
};

bool OnPath(const std::string& program) {
  for (const char* folder : {"/usr/bin/", "/bin/", "/usr/local/bin/"}) {
    if (::access((std::string(folder) + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

XDesktopTest::XDesktopTest() = default;
XDesktopTest::~XDesktopTest() = default;

void XDesktopTest::SetUp() {
  if (!OnPath("Xvfb") || !OnPath("xwininfo")) {
    GTEST_SKIP() << "needs Xvfb and xwininfo (Debian packages xvfb and x11-utils)";
  }
  std::string display;
  xserver_ = StartXvfb("1280x800x24", display);
  ASSERT_NE(xserver_, nullptr) << "Xvfb did not start";
  // The number comes as soon as the server has its display; wait until it answers too.
  ASSERT_TRUE(WaitUntil(
      [&] {
        return RunForOutput("/usr/bin/xwininfo", {"-root", "-display", display}, {}, 10s)
                   .value_or("")
                   .find("Map State") != std::string::npos;
      },
      15s))
      << "Xvfb does not answer";
  input_ = std::make_unique<Input>(display);
  ASSERT_NE(input_->connection, nullptr);
  std::filesystem::create_directories(root / "run");
  ::chmod((root / "run").c_str(), 0700);
  environment = {{"DISPLAY", display},
                 {"QT_QPA_PLATFORM", "xcb"},
                 {"LSAN_OPTIONS", "suppressions=" VEXLO_E2E_FOLDER "/lsan-suppressions.txt"},
                 {"XDG_RUNTIME_DIR", root / "run"},
                 {"XDG_CONFIG_HOME", root / "config"}};
  ASSERT_EQ(Run("vexlo-sim", {"start"}), 0);
}

void XDesktopTest::TearDown() {
  if (xserver_) (void)Run("vexlo-sim", {"stop"});
}

std::optional<int> XDesktopTest::Run(const std::string& program,
                                     std::vector<std::string> arguments) {
  return ChildProcess(kBinaries + program, arguments, environment).WaitForExit(20s);
}

std::string XDesktopTest::Output(const std::string& program, std::vector<std::string> arguments) {
  return RunForOutput(program.front() == '/' ? program : kBinaries + program, arguments,
                      environment, 20s)
      .value_or("");
}

std::string XDesktopTest::MapState(const std::string& title) {
  const std::string info = Output("/usr/bin/xwininfo", {"-name", title});
  const auto at = info.find("Map State: ");
  if (at == std::string::npos) return {};
  return info.substr(at + 11, info.find('\n', at) - at - 11);
}

bool XDesktopTest::MapStateBecomes(const std::string& state, const std::string& title) {
  return WaitUntil([&] { return MapState(title) == state; }, 15s);
}

std::unique_ptr<ChildProcess> XDesktopTest::StartTrayHost() {
  return std::make_unique<ChildProcess>(
      "/usr/bin/trayer", std::vector<std::string>{"--edge", "top", "--widthtype", "request"},
      environment);
}

bool XDesktopTest::TrayIconShown() {
  const std::string tree = Output("/usr/bin/xwininfo", {"-root", "-tree"});
  const auto panel = tree.find("(\"panel\" \"trayer\")");
  return panel != std::string::npos &&
         tree.find("\"Vexlo\": (\"vexlo\" \"Vexlo\")", panel) != std::string::npos;
}

void XDesktopTest::ClickControl(const std::string& skinKey) {
  const std::string window = Output("/usr/bin/xwininfo", {"-name", kMainWindowTitle});
  const std::optional<int> left = ReportedNumber(window, "Absolute upper-left X:");
  const std::optional<int> top = ReportedNumber(window, "Absolute upper-left Y:");
  ASSERT_TRUE(left && top) << "no main window";
  // "left,top,width,height"
  std::istringstream rect(ReadIniString("CONTROL", skinKey, "", kBinaries + "Skins/Main.ini"));
  int x = 0, y = 0, width = 0, height = 0;
  char comma;
  ASSERT_TRUE(rect >> x >> comma >> y >> comma >> width >> comma >> height) << skinKey;
  Display* display = input_->connection;
  XTestFakeMotionEvent(display, -1, *left + x + width / 2, *top + y + height / 2, CurrentTime);
  XTestFakeButtonEvent(display, Button1, True, CurrentTime);
  XTestFakeButtonEvent(display, Button1, False, CurrentTime);
  XSync(display, False);
}

void XDesktopTest::PressKey(const std::string& keysym, const std::string& modifier) {
  Display* display = input_->connection;
  const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym.c_str()));
  ASSERT_NE(code, 0) << keysym;
  const KeyCode held =
      modifier.empty() ? 0 : XKeysymToKeycode(display, XStringToKeysym(modifier.c_str()));
  ASSERT_TRUE(modifier.empty() || held != 0) << modifier;
  if (held) XTestFakeKeyEvent(display, held, True, CurrentTime);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  if (held) XTestFakeKeyEvent(display, held, False, CurrentTime);
  XSync(display, False);
}

bool XDesktopTest::MenuShown() {
  Display* display = input_->connection;
  Window rootWindow = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &rootWindow, &parent, &children, &count)) {
    return false;
  }
  bool shown = false;
  for (unsigned int i = 0; i < count && !shown; ++i) {
    XWindowAttributes attributes{};
    // Popups bypass the window manager.
    shown = XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.override_redirect && attributes.map_state == IsViewable;
  }
  if (children) XFree(children);
  return shown;
}

void XDesktopTest::OpenFireKeyDialog() {
  ClickControl("BTN_MOUSE_KEY3");
  ASSERT_TRUE(WaitUntil([&] { return MenuShown(); }, 15s)) << "no menu";
  PressKey("Up");
  PressKey("Up");
  PressKey("Return");
  ASSERT_TRUE(MapStateBecomes("IsViewable", Text("STA_FIRE_KEY_TITLE"))) << "no fire-key dialog";
}

std::string XDesktopTest::CopiedText(const std::string& skinKey) {
  ClickControl(skinKey);
  PressKey("a", "Control_L");
  PressKey("c", "Control_L");
  return ClipboardText();
}

std::string XDesktopTest::ClipboardText() {
  Display* display = input_->connection;
  const Window requestor =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  const Atom property = XInternAtom(display, "VEXLO_TEST_CLIPBOARD", False);
  XConvertSelection(display, XInternAtom(display, "CLIPBOARD", False),
                    XInternAtom(display, "UTF8_STRING", False), property, requestor, CurrentTime);
  XFlush(display);
  XEvent event{};
  const bool answered = WaitUntil(
      [&] { return XCheckTypedWindowEvent(display, requestor, SelectionNotify, &event) != 0; }, 5s);
  std::string text;
  if (answered && event.xselection.property != None) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* bytes = nullptr;
    if (XGetWindowProperty(display, requestor, property, 0, 65536, True, AnyPropertyType, &type,
                           &format, &count, &left, &bytes) == Success &&
        bytes) {
      if (format == 8) text.assign(reinterpret_cast<const char*>(bytes), count);
      XFree(bytes);
    }
  }
  XDestroyWindow(display, requestor);
  XSync(display, False);
  return text;
}

std::string XDesktopTest::Text(const std::string& key) {
  LanguageTable language;
  language.Load(kBinaries + "Lang_En.ini");
  return language.LookupText(key);
}

}  // namespace vexlo::test
