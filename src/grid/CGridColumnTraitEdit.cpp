#include "grid/CGridColumnTraitEdit.h"

#include "grid/CGridEditorText.h"
#include "grid/CGridListCtrlEx.h"

namespace vexlo {

CGridEditorText* CGridColumnTraitEdit::CreateEditor(CGridListCtrlEx& list, int row, int column,
                                                    const QRect& cell) {
  return new CGridEditorText(list, row, column, cell);
}

}  // namespace vexlo
