#pragma once

#include "grid/CGridColumnTrait.h"

namespace vexlo {

// A column whose cells are edited as one line of text in place.
class CGridColumnTraitEdit final : public CGridColumnTrait {
 public:
  CGridEditorText* CreateEditor(CGridListCtrlEx& list, int row, int column,
                                const QRect& cell) override;
};

}  // namespace vexlo
