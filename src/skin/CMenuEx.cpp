#include "skin/CMenuEx.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

constexpr int kTitleCharWidth = 5;
constexpr int kTitleHeight = 20;
constexpr int kCheckMarkSize = 13;  // the desktop's check-mark picture
constexpr int kScrollerHeight = 16;
const QString kSwatchPrefix = QStringLiteral("#RGB(");

std::uint32_t Ref(const QColor& colour) {
  return RefFromRgb(colour.rgb());
}

// The colour of a swatch item "#RGB(r,g,b)": each number modulo 256; numbers that are missing or
// unreadable count as 0.
std::uint32_t SwatchColour(const QString& text) {
  std::uint32_t channels[3] = {};
  qsizetype at = kSwatchPrefix.size();
  for (int i = 0; i < 3; ++i) {
    while (at < text.size() && text[at].isSpace()) ++at;
    if (at >= text.size() || !text[at].isDigit()) break;
    std::uint32_t value = 0;
    for (; at < text.size() && text[at].isDigit(); ++at) {
      value = (value * 10 + static_cast<std::uint32_t>(text[at].digitValue())) % 256;
    }
    channels[i] = value;
    if (at >= text.size() || text[at] != u',') break;
    ++at;
  }
  return channels[0] | channels[1] << 8 | channels[2] << 16;
}

// The band at the top or bottom of a menu taller than the screen: the item background with a
// chevron in the text colour that points the way the menu scrolls.
void PaintScroller(QPainter& painter, const QRect& band, bool down, const MenuStyle& style) {
  painter.fillRect(band, ColorFromRef(style.itemBackground));
  const QPointF centre = QRectF(band).center();
  const qreal half = band.height() * 0.25;
  const qreal rise = down ? half / 2 : -half / 2;
  QPainterPath chevron;
  chevron.moveTo(centre.x() - half, centre.y() - rise);
  chevron.lineTo(centre.x(), centre.y() + rise);
  chevron.lineTo(centre.x() + half, centre.y() - rise);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(
      QPen(ColorFromRef(style.textColour), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(chevron);
  painter.restore();
}

// Draws and measures the items of every CMenuEx through its owner's functions, and gives the
// menu window its border. Other widgets get the application's style.
class MenuExStyle final : public QProxyStyle {
 public:
  static MenuExStyle* Instance() {
    static QPointer<MenuExStyle> instance;
    if (!instance) {
      instance = new MenuExStyle;
      instance->setParent(qApp);  // goes with the application
    }
    return instance;
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (Menu(widget)) {
      switch (metric) {
        case PM_MenuPanelWidth:
          return kMenuBorderWidth;
        case PM_MenuScrollerHeight:
          return kScrollerHeight;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuDesktopFrameWidth:
        case PM_MenuTearoffHeight:
          return 0;
        default:
          break;
      }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (Menu(widget)) {
      switch (hint) {
        case SH_Menu_AllowActiveAndDisabled:
          // The pointer selects disabled items too; the drawing decides how they look.
          return 1;
        case SH_Menu_Scrollable:
          // Taller than the screen, a menu scrolls (as the platform's menus do) rather than
          // breaking into columns.
          return 1;
        case SH_Menu_SupportsSections:
        case SH_Menu_FlashTriggeredItem:
        case SH_Menu_FadeOutOnHide:
          return 0;
        default:
          break;
      }
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    const CMenuEx* menu = Menu(widget);
    const QAction* action = ActionOf(option);
    if (type == CT_MenuItem && menu && action) return menu->MeasureItem(*action);
    return QProxyStyle::sizeFromContents(type, option, size, widget);
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (const CMenuEx* menu = Menu(widget)) {
      if (element == PE_PanelMenu) {
        painter->fillRect(option->rect, ColorFromRef(menu->Style().itemBackground));
        return;
      }
      if (element == PE_FrameMenu) {
        PaintMenuBorder(*painter, option->rect);
        return;
      }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (const CMenuEx* menu = Menu(widget)) {
      if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, ColorFromRef(menu->Style().itemBackground));
        return;
      }
      if (element == CE_MenuScroller) {
        PaintScroller(*painter, option->rect, (option->state & State_DownArrow) != 0,
                      menu->Style());
        return;
      }
      const QAction* action = ActionOf(option);
      if (element == CE_MenuItem && action) {
        menu->DrawItem(*painter, *action, option->rect, (option->state & State_Selected) != 0);
        return;
      }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

 private:
  static const CMenuEx* Menu(const QWidget* widget) { return dynamic_cast<const CMenuEx*>(widget); }
  // CMenuEx hands each item's action to the style with the item's options.
  static const QAction* ActionOf(const QStyleOption* option) {
    return option ? qobject_cast<const QAction*>(option->styleObject) : nullptr;
  }
};

}  // namespace

MenuStyle DesktopMenuStyle(const QPalette& palette) {
  MenuStyle style;
  style.titleBackground = Ref(palette.color(QPalette::Button));
  style.itemBackground = Ref(palette.color(QPalette::Window));
  style.iconColumnBackground = Ref(palette.color(QPalette::Button));
  style.textColour = Ref(palette.color(QPalette::WindowText));
  style.greyTextColour = Ref(palette.color(QPalette::Disabled, QPalette::WindowText));
  style.separatorColour = Ref(palette.color(QPalette::Button));
  style.selectionBorder = Ref(palette.color(QPalette::Dark));
  style.selectionFill = Ref(palette.color(QPalette::Highlight));
  style.disabledSelectionFill = Ref(palette.color(QPalette::Window));
  return style;
}

CMenuEx::CMenuEx(QWidget* owner, QWidget* parent)
    : QMenu(parent), owner_(owner), style_(DesktopMenuStyle(palette())) {
  setStyle(MenuExStyle::Instance());
  // Every separator is an item of its own, also at the ends and next to another.
  setSeparatorsCollapsible(false);
  setFont(OwnerFont());
}

CMenuEx::~CMenuEx() = default;

QAction* CMenuEx::AppendItem(int commandId, const QString& text, bool enabled, bool checked) {
  QAction* action = addAction(text);
  action->setData(commandId);
  action->setEnabled(enabled);
  if (checked) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  return action;
}

QAction* CMenuEx::AppendSeparator() {
  return addSeparator();
}

CMenuEx* CMenuEx::AppendSubMenu(const QString& text) {
  auto* sub = new CMenuEx(owner_, this);
  sub->setTitle(text);
  addMenu(sub);
  return sub;
}

void CMenuEx::Convert(bool title) {
  for (QAction* action : actions()) {
    items_[action] = {CommandId(*action), title};
    QMenu* sub = action->menu();
    if (!sub) continue;
    auto* converted = dynamic_cast<CMenuEx*>(sub);
    if (!converted) {
      converted = new CMenuEx(owner_, this);
      converted->setTitle(sub->title());
      converted->addActions(sub->actions());
      action->setMenu(converted);
    }
    converted->Convert(false);
  }
}

void CMenuEx::SetStyle(const MenuStyle& style) {
  style_ = style;
  for (QAction* action : actions()) {
    if (auto* sub = dynamic_cast<CMenuEx*>(action->menu())) sub->SetStyle(style);
  }
  update();
}

void CMenuEx::SetFixedItemWidth(int width) {
  fixedItemWidth_ = width;
  adjustSize();
}

int CMenuEx::Track(QPoint globalPosition) {
  const QAction* chosen = exec(globalPosition);
  return chosen ? CommandId(*chosen) : 0;
}

int CMenuEx::CommandId(const QAction& action) {
  return action.isSeparator() ? 0 : action.data().toInt();
}

bool CMenuEx::IsTitleItem(const QAction& action) const {
  const auto it = items_.find(&action);
  return it != items_.end() && it->second.title;
}

void CMenuEx::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
  QMenu::initStyleOption(option, action);
  option->styleObject = const_cast<QAction*>(action);
}

QFont CMenuEx::OwnerFont() const {
  return owner_ ? owner_->font() : font();
}

int CMenuEx::TextMarginY() const {
  const int line = QFontMetrics(OwnerFont()).height() + style_.textMarginY * 2;
  const int cell = style_.iconHeight + style_.iconMarginY * 2;
  if (line >= cell) return style_.textMarginY;
  for (const QAction* action : actions()) {
    if (!action->isSeparator() && !IsTitleItem(*action)) {
      return style_.textMarginY + (cell - line) / 2;
    }
  }
  return style_.textMarginY;
}

QSize CMenuEx::MeasureItem(const QAction& action) const {
  const QFontMetrics metrics(OwnerFont());
  QSize size;
  if (IsTitleItem(action)) {
    size = QSize(static_cast<int>(action.text().size()) * kTitleCharWidth, kTitleHeight);
  } else {
    const int margin = TextMarginY();
    const int textWidth = action.isSeparator() ? 0
                                               : MeasureText(metrics, QRect(), action.text(),
                                                             style_.textFormat | dt::kSingleLine)
                                                     .width();
    size.setWidth(style_.iconWidth + (style_.textGap + style_.iconMarginX) * 2 + textWidth);
    if (action.isSeparator()) {
      size.setHeight(margin * 2 + 1);
    } else {
      size.setHeight(
          std::max(metrics.height() + margin * 2, style_.iconHeight + style_.iconMarginY * 2));
    }
  }
  if (fixedItemWidth_ != 0) size.setWidth(fixedItemWidth_);
  return size;
}

CMenuEx::ItemLayout CMenuEx::Layout(const QAction& action, const QRect& rect) const {
  ItemLayout layout;
  if (IsTitleItem(action)) {
    layout.textArea = rect;
    layout.textRect = rect.adjusted(2, 3, 0, 0);
    return layout;
  }
  const int column = style_.iconMarginX * 2 + style_.iconWidth;
  layout.iconColumn = QRect(rect.left(), rect.top(), column, rect.height());
  layout.iconCell = QRect(rect.left() + style_.iconMarginX, rect.top() + style_.iconMarginY,
                          style_.iconWidth, style_.iconHeight);
  layout.textArea = rect.adjusted(column, 0, 0, 0);
  layout.textRect = rect.adjusted(column + style_.textGap, TextMarginY(), 0, 0);
  return layout;
}

void CMenuEx::DrawItem(QPainter& painter, const QAction& action, const QRect& rect,
                       bool selected) const {
  const QString text = action.text();
  if (text.startsWith(kSwatchPrefix)) {
    DrawSwatch(painter, rect, text, selected);
    return;
  }
  const bool title = IsTitleItem(action);
  const bool enabled = action.isEnabled();
  const ItemLayout layout = Layout(action, rect);
  if (!layout.iconColumn.isEmpty()) {
    painter.fillRect(layout.iconColumn, ColorFromRef(style_.iconColumnBackground));
  }
  QColor textColour = ColorFromRef(enabled ? style_.textColour : style_.greyTextColour);
  if (action.isSeparator()) {
    painter.fillRect(layout.textArea, ColorFromRef(style_.itemBackground));
    const int middle = rect.top() + rect.height() / 2;
    painter.fillRect(QRect(QPoint(layout.textArea.left() + style_.textGap, middle),
                           QPoint(layout.textArea.right(), middle)),
                     ColorFromRef(style_.separatorColour));
    return;
  }
  if (selected && (enabled || style_.selectDisabledItems)) {
    painter.setPen(ColorFromRef(style_.selectionBorder));
    painter.setBrush(ColorFromRef(enabled ? style_.selectionFill : style_.disabledSelectionFill));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
  } else {
    painter.fillRect(layout.textArea,
                     ColorFromRef(title ? style_.titleBackground : style_.itemBackground));
  }
  if (action.isChecked()) {
    painter.setPen(ColorFromRef(style_.selectionBorder));
    painter.setBrush(ColorFromRef(style_.iconColumnBackground));
    painter.drawRect(layout.iconCell.adjusted(0, 0, -1, -1));
    DrawCheckMark(painter, layout.iconCell, textColour);
  }
  painter.setFont(OwnerFont());
  painter.setPen(textColour);
  DrawText(painter, layout.textRect, text, title ? style_.titleTextFormat : style_.textFormat);
  if (action.menu()) DrawSubMenuArrow(painter, rect, layout.textRect, textColour);
}

void CMenuEx::DrawSwatch(QPainter& painter, const QRect& rect, const QString& text,
                         bool selected) const {
  const std::uint32_t colour = SwatchColour(text);
  if (selected) {
    painter.fillRect(rect, ColorFromRef(InverseRef(colour)));
    painter.fillRect(rect.adjusted(1, 1, -1, -1), ColorFromRef(colour));
  } else {
    painter.fillRect(rect, ColorFromRef(colour));
  }
}

void CMenuEx::DrawCheckMark(QPainter& painter, const QRect& cell, const QColor& colour) const {
  const QRectF box((style_.iconWidth - kCheckMarkSize) / 2 + cell.left() + 1,
                   (style_.iconHeight - kCheckMarkSize) / 2 + cell.top(), kCheckMarkSize,
                   kCheckMarkSize);
  QPainterPath tick;
  tick.moveTo(box.left() + 2.5, box.top() + 6.5);
  tick.lineTo(box.left() + 5.5, box.top() + 9.5);
  tick.lineTo(box.left() + 10.5, box.top() + 3.5);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(tick);
  painter.restore();
}

void CMenuEx::DrawSubMenuArrow(QPainter& painter, const QRect& item, const QRect& textRect,
                               const QColor& colour) const {
  // The arrow's box: as wide as the desktop's sub-menu arrow, 6 pixels from the right edge.
  const int boxWidth = logicalDpiY() * 14 / 96;
  const QRectF box(item.left() + item.width() - boxWidth - 6, textRect.top(), boxWidth,
                   textRect.height());
  const qreal half = std::max(2.0, std::min(box.height(), box.width()) * 0.22);
  const QPointF centre = box.center();
  QPainterPath chevron;
  chevron.moveTo(centre.x() - half * 0.5, centre.y() - half);
  chevron.lineTo(centre.x() + half * 0.5, centre.y());
  chevron.lineTo(centre.x() - half * 0.5, centre.y() + half);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(chevron);
  painter.restore();
}

}  // namespace vexlo
