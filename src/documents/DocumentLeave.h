// Closing a document editor by any way but 保存 or 打印.
#pragma once

#include "DocumentSave.h"

#include <functional>

class QWidget;

namespace kvl {

class Dataset;

// Asks what to do with unsaved changes; true when the editor may close. A new
// document is only ever discarded here (saving needs the save button); a
// settled document's changes are dropped without a question. `save` runs the
// editor's save when the clerk answers Yes to saving. Closing drops the
// unsaved lines.
bool CanLeaveDocument(Dataset &header, Dataset &lines, bool settled,
                      const std::function<DocumentSaveResult()> &save, QWidget *parent = nullptr);

// The same questions for the settlement editor, whose links take the place of
// the lines; a settlement is never view-only.
bool CanLeaveSettlement(Dataset &header, Dataset &links, const std::function<DocumentSaveResult()> &save,
                        QWidget *parent = nullptr);

} // namespace kvl
