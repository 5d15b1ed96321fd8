#pragma once

#include <QMenu>
#include <QPointer>

#include <cstdint>
#include <unordered_map>

class QPalette;
class QStyleOptionMenuItem;

namespace vexlo {

// How an owner-drawn menu looks: COLORREF colours, DrawText formats (DrawText.h) and metrics in
// pixels.
struct MenuStyle {
  std::uint32_t titleBackground = 0;
  std::uint32_t itemBackground = 0;        // text area of items and separators
  std::uint32_t iconColumnBackground = 0;  // icon column and check boxes
  std::uint32_t textColour = 0;
  std::uint32_t greyTextColour = 0;  // disabled items
  std::uint32_t separatorColour = 0;
  std::uint32_t selectionBorder = 0;  // outline of the selected item and of check boxes
  std::uint32_t selectionFill = 0;
  std::uint32_t disabledSelectionFill = 0;
  bool selectDisabledItems = false;    // false: a disabled item never shows as selected
  std::uint32_t titleTextFormat = 69;  // centred, tabs expanded
  std::uint32_t textFormat = 69;
  int iconWidth = 16;
  int iconHeight = 16;
  int iconMarginX = 3;
  int iconMarginY = 3;
  int textGap = 5;      // between the icon column and the text
  int textMarginY = 3;  // above and below the text
};

// The look the desktop's own menus have, from its palette.
MenuStyle DesktopMenuStyle(const QPalette& palette);

// A popup menu drawn entirely by the program in the skin's colours. An item whose text begins
// with "#RGB(" followed by three numbers ("#RGB(255,0,0)") is a colour swatch: the item is that
// colour and nothing else. Items carry command IDs; Track() shows the menu and answers the ID of
// the chosen item. A CMenuEx lives for one popup: build it, Convert(), SetStyle(), set the
// border colours (MenuBorder.h), Track(), destroy.
class CMenuEx : public QMenu {
 public:
  // `owner` is the control that opens the menu; its font measures and draws the items.
  explicit CMenuEx(QWidget* owner, QWidget* parent = nullptr);
  ~CMenuEx() override;

  // Appends an item with a command ID (not 0), a separator or a sub-menu. A sub-menu is owned by
  // this menu and shares its owner.
  QAction* AppendItem(int commandId, const QString& text, bool enabled = true,
                      bool checked = false);
  QAction* AppendSeparator();
  CMenuEx* AppendSubMenu(const QString& text);

  // Makes every present item an owner-drawn item, title items when `title` is set; sub-menus that
  // are plain menus are replaced by CMenuEx sub-menus with the same items, and every sub-menu is
  // converted with `title` unset.
  void Convert(bool title = false);

  // Takes the style for this menu and every sub-menu.
  void SetStyle(const MenuStyle& style);
  const MenuStyle& Style() const { return style_; }

  // A width that every item takes instead of its measured width; 0 measures.
  void SetFixedItemWidth(int width);

  // Shows the menu at the screen position and waits until it closes. Returns the command ID of
  // the chosen item, 0 when the menu was dismissed.
  int Track(QPoint globalPosition);

  // The command ID of an item: 0 for separators and items without one.
  static int CommandId(const QAction& action);
  bool IsTitleItem(const QAction& action) const;

  // The size of one item, and its painting into its rectangle.
  QSize MeasureItem(const QAction& action) const;
  void DrawItem(QPainter& painter, const QAction& action, const QRect& rect, bool selected) const;

  // Where the parts of an item lie inside its rectangle.
  struct ItemLayout {
    QRect iconColumn;  // empty for title items
    QRect iconCell;
    QRect textArea;
    QRect textRect;
  };
  ItemLayout Layout(const QAction& action, const QRect& rect) const;

 protected:
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

 private:
  struct MenuItemData {
    int commandId = 0;
    bool title = false;
  };

  QFont OwnerFont() const;
  // The text margin the items use: the style's, grown when the icon cell is taller than a line of
  // text, so that the text sits in the middle of an item as tall as the icon cell.
  int TextMarginY() const;
  void DrawSwatch(QPainter& painter, const QRect& rect, const QString& text, bool selected) const;
  void DrawCheckMark(QPainter& painter, const QRect& cell, const QColor& colour) const;
  void DrawSubMenuArrow(QPainter& painter, const QRect& item, const QRect& textRect,
                        const QColor& colour) const;

  QPointer<QWidget> owner_;
  MenuStyle style_;
  int fixedItemWidth_ = 0;
  std::unordered_map<const QAction*, MenuItemData> items_;
};

}  // namespace vexlo
