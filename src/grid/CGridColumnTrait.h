#pragma once

#include <QRect>

namespace vexlo {

class CGridEditorText;
class CGridListCtrlEx;

// What a grid column is and does. A plain column shows text and starts no editor; derived traits
// supply an in-place editor.
class CGridColumnTrait {
 public:
  virtual ~CGridColumnTrait() = default;

  bool visible = true;
  bool resizable = true;

  // Opens an editor over the cell (viewport coordinates) or returns none when the column is not
  // editable. The editor belongs to the list's viewport.
  virtual CGridEditorText* CreateEditor(CGridListCtrlEx& /*list*/, int /*row*/, int /*column*/,
                                        const QRect& /*cell*/) {
    return nullptr;
  }
};

}  // namespace vexlo
