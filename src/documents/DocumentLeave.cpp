// The questions asked when a document editor closes without saving.
#include "DocumentLeave.h"

#include "Dataset.h"
#include "Messages.h"

namespace kvl {

namespace {

// A line typed but not yet posted counts as a change of the document.
bool linesChanged(Dataset &lines)
{
    return lines.isActive() && (lines.hasPendingChanges() || (lines.state() != Dataset::State::Browse && lines.modified()));
}

} // namespace

bool CanLeaveDocument(Dataset &header, Dataset &lines, bool settled,
                      const std::function<DocumentSaveResult()> &save, QWidget *parent)
{
    const bool changed = header.modified() || linesChanged(lines);
    if (header.state() == Dataset::State::Insert) {
        if (Messages::question(QStringLiteral("正在添加记录，确定放弃吗？"), parent) != QMessageBox::Yes)
            return false;
        header.cancel();
    } else if (changed && !settled) {
        switch (Messages::questionWithCancel(QStringLiteral("当前数据已经更改，保存吗？"), parent)) {
        case QMessageBox::Yes:
            if (!header.modified() && header.state() != Dataset::State::Browse)
                header.setValue(QStringLiteral("单号"), header.value(QStringLiteral("单号")));
            if (!save().closes())
                return false;
            break;
        case QMessageBox::No:
            header.cancel();
            break;
        default:
            return false;
        }
    } else {
        header.cancel();
    }
    lines.close();
    return true;
}

bool CanLeaveSettlement(Dataset &header, Dataset &links, const std::function<DocumentSaveResult()> &save,
                        QWidget *parent)
{
    return CanLeaveDocument(header, links, false, save, parent);
}

} // namespace kvl
