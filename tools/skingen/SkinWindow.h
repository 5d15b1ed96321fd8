#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "SkinArt.h"

namespace vexlo::skin {

// One window's skin as it is built: what to paint under the controls, the controls with their
// looks, and the rectangles its INI file gives to the program. It renders the normal (Main) and
// the highlighted (Status2) picture and writes them with the INI file.
class SkinWindow {
 public:
  using Layer = std::function<void(QPainter& painter, bool highlighted)>;

  // A transparent window is an overlay (the device models) drawn over another skin.
  explicit SkinWindow(QSize size, bool transparent = false);

  // Painted before the controls, in the order added.
  void Backdrop(Layer layer);
  // A control key with its rectangle and the look painted there.
  void Control(const std::string& key, const QRect& rect, Look look = Look::None,
               Icon icon = Icon::None);
  // A look painted without a key (a control that another skin file places).
  void Decor(const QRect& rect, Look look, Icon icon = Icon::None);
  // Painted after the controls.
  void Overlay(Layer layer);

  QSize Size() const { return size_; }
  QRect Rect(const std::string& key) const;  // of a control added before
  QImage Render(bool highlighted) const;

  // Whether the INI file names its pictures in section SCREEN, or the window loads pictures of
  // fixed names and its INI file gives only rectangles.
  enum class Pictures { Named, Fixed };

  // Writes "<folder>/<ini>" and the pictures under the given names (an empty highlight name
  // writes no highlighted picture). Fails the program on any error: a build that cannot write
  // its skin must stop.
  void Write(const std::filesystem::path& folder, const std::string& ini,
             const std::string& mainImage, const std::string& highlightImage,
             Pictures pictures = Pictures::Named) const;

 private:
  struct Element {
    std::string key;  // empty for decor
    QRect rect;
    Look look;
    Icon icon;
  };

  QSize size_;
  bool transparent_;
  std::vector<Layer> backdrops_;
  std::vector<Element> elements_;
  std::vector<Layer> overlays_;
};

// Saves a picture as PNG; fails the program on error.
void SavePicture(const QImage& picture, const std::filesystem::path& file);

}  // namespace vexlo::skin
