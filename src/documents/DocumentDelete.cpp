// Deleting a document with its lines or links.
#include "DocumentDelete.h"

#include "Connection.h"
#include "Dataset.h"
#include "DbErrorText.h"
#include "Messages.h"
#include "ProgressScope.h"
#include "Statement.h"

namespace kvl {

void ReloadDocumentList(Dataset &list)
{
    list.requery();
}

DeleteOutcome DeleteCurrentDocument(Dataset &list, QWidget *parent)
{
    if (!list.isActive() || list.isEmpty())
        return DeleteOutcome::Nothing;
    const QString kind = list.value(QStringLiteral("类别")).toString();
    const bool settlement = kind == QStringLiteral("结帐");
    if (!settlement && !list.value(QStringLiteral("结帐单号")).toString().trimmed().isEmpty()) {
        Messages::warning(QStringLiteral("此单已经结帐，不能删除！"), parent);
        return DeleteOutcome::Refused;
    }
    const QString question = QStringLiteral("删除") + kind + QStringLiteral("单：")
        + list.value(QStringLiteral("单号")).toString() + QStringLiteral("\r\r记录删除后不能恢复，删除吗？");
    if (Messages::question(question, parent) != QMessageBox::Yes)
        return DeleteOutcome::Declined;

    ProgressScope progress(QStringLiteral("正在刷新表格，请稍候......"));
    if (list.recordCount() < 2)
        list.first();
    const Value id = list.value(QStringLiteral("id"));
    Connection &conn = list.connection();
    DeleteOutcome outcome = DeleteOutcome::Deleted;
    try {
        // Lines or links and the document go together or not at all.
        Transaction t(conn);
        Statement details(conn, settlement ? QStringLiteral("delete from jzmx where sf_id=:sfkid")
                                           : QStringLiteral("delete from kcmx where sf_id=:sfkid"));
        details.bind(QStringLiteral("sfkid"), id);
        details.exec();
        list.deleteRecord();
        t.commit();
    } catch (const DbError &e) {
        Messages::warning(DbErrorText(e.message(), QStringLiteral("业务"), e.errors()), parent);
        outcome = DeleteOutcome::Failed;
    }
    ReloadDocumentList(list);
    list.last();
    return outcome;
}

} // namespace kvl
