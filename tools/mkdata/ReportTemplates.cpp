// Reading the built-in templates and writing them into table report.
#include "ReportTemplates.h"

#include "Connection.h"
#include "DbError.h"
#include "Statement.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

static void initTemplateResources()
{
    // The resources live in a static library; naming them keeps the linker from dropping them.
    Q_INIT_RESOURCE(report_templates);
}

namespace kvl::ReportTemplates {

QList<Entry> all()
{
    initTemplateResources();
    QList<Entry> out;
    const QDir dir(QStringLiteral(":/reports"));
    for (const QString &file : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("不能读取报表模板［%1］。").arg(file));
        const QByteArray bytes = f.readAll();
        const QString name = QJsonDocument::fromJson(bytes).object().value(QStringLiteral("name")).toString();
        if (name.isEmpty())
            throw DbError(QStringLiteral("报表模板［%1］没有名称。").arg(file));
        out << Entry{name, bytes};
    }
    return out;
}

void store(Connection &conn)
{
    const QList<Entry> templates = all();
    Transaction tx(conn);
    Statement st(conn, QStringLiteral("INSERT INTO report (Name, Template) VALUES (?, ?)"));
    for (const Entry &e : templates) {
        st.reset();
        st.bind(1, Value(e.name));
        st.bind(2, Value::bytes(e.bytes));
        st.exec();
    }
    tx.commit();
}

} // namespace kvl::ReportTemplates
