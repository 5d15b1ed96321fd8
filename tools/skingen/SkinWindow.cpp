#include "SkinWindow.h"

#include <QFile>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

#include "common/IniDocument.h"

namespace vexlo::skin {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "vexlo-skingen: %s\n", what.c_str());
  std::exit(1);
}

}  // namespace

SkinWindow::SkinWindow(QSize size, bool transparent) : size_(size), transparent_(transparent) {}

void SkinWindow::Backdrop(Layer layer) {
  backdrops_.push_back(std::move(layer));
}

void SkinWindow::Control(const std::string& key, const QRect& rect, Look look, Icon icon) {
  if (!QRect(QPoint(0, 0), size_).contains(rect)) Fail("control outside its window: " + key);
  if (rect.topLeft() == QPoint(1, 1)) Fail("control at the missing-key mark: " + key);
  for (const Element& element : elements_) {
    if (element.key == key) Fail("control key twice: " + key);
  }
  elements_.push_back({key, rect, look, icon});
}

void SkinWindow::Decor(const QRect& rect, Look look, Icon icon) {
  elements_.push_back({std::string(), rect, look, icon});
}

void SkinWindow::Overlay(Layer layer) {
  overlays_.push_back(std::move(layer));
}

QRect SkinWindow::Rect(const std::string& key) const {
  for (const Element& element : elements_) {
    if (element.key == key) return element.rect;
  }
  Fail("no such control: " + key);
}

QImage SkinWindow::Render(bool highlighted) const {
  QImage picture(size_, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  if (!transparent_) DrawWindowBackground(painter, QRect(QPoint(0, 0), size_));
  for (const Layer& layer : backdrops_) layer(painter, highlighted);
  for (const Element& element : elements_) {
    DrawLook(painter, element.look, element.rect, highlighted, element.icon);
  }
  for (const Layer& layer : overlays_) layer(painter, highlighted);
  painter.end();
  return transparent_ ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

void SkinWindow::Write(const std::filesystem::path& folder, const std::string& ini,
                       const std::string& mainImage, const std::string& highlightImage,
                       Pictures pictures) const {
  IniDocument doc;
  bool ok = true;
  if (pictures == Pictures::Named) {
    ok = doc.Set("SCREEN", "Main", mainImage) == Result::Ok &&
         doc.Set("SCREEN", "Status2", highlightImage) == Result::Ok;
  }
  for (const Element& element : elements_) {
    if (element.key.empty()) continue;
    const QRect& r = element.rect;
    const std::string value = std::to_string(r.x()) + "," + std::to_string(r.y()) + "," +
                              std::to_string(r.width()) + "," + std::to_string(r.height());
    ok = ok && doc.Set("CONTROL", element.key, value) == Result::Ok;
  }
  if (!ok || doc.Save(folder / ini) != Result::Ok) Fail("cannot write " + (folder / ini).string());
  SavePicture(Render(false), folder / mainImage);
  if (!highlightImage.empty()) SavePicture(Render(true), folder / highlightImage);
}

void SavePicture(const QImage& picture, const std::filesystem::path& file) {
  if (!picture.save(QFile::decodeName(file.c_str()), "PNG")) Fail("cannot write " + file.string());
}

}  // namespace vexlo::skin
