// The one data module: the connections, every shared dataset with its fields
// and write settings, the general query QueAll and the report data links.
#pragma once

#include "Connection.h"
#include "Dataset.h"

#include <QHash>
#include <QObject>

namespace kvl {

class TDataModKvl : public QObject
{
    Q_OBJECT
public:
    // Runs the creation steps: connect to AppDir + "KVL.DTA", open the master
    // data, read PH. On failure shows the one message and leaves DbConnected false.
    explicit TDataModKvl(QObject *parent = nullptr);
    ~TDataModKvl() override;

    static constexpr const char *kConnectFailed = "不能连接数据库！请稍后再试 或 咨询我们。";

    Connection ConKVL;
    Connection ConKVL1; // the older data file during an import

    Dataset DataDm_dw{ConKVL};
    Dataset DataDm_spcd{ConKVL};
    Dataset DataDm_spdw{ConKVL};
    Dataset DataDm_splb{ConKVL};
    Dataset DataDm_zg{ConKVL};
    Dataset DataKcsp{ConKVL};
    Dataset DataKcmx{ConKVL};
    Dataset DataJzmx{ConKVL};
    Dataset DataSfk{ConKVL};
    Dataset DataSfk_jz{ConKVL};
    Dataset DataTJ_ysk{ConKVL};
    Dataset DataTJ_sp{ConKVL};
    // The names DataTJ_ysk and DataTJ_sp look up, all rows of each table (opened and
    // kept current by the statistics refresh): the shared master-data datasets
    // cannot serve, since pickers narrow them to rows not paused or close them.
    Dataset DataTJ_dw{ConKVL};
    Dataset DataTJ_zg{ConKVL};
    Dataset DataTJ_spzl{ConKVL};
    Dataset DataSfk_kcmx{ConKVL};
    Dataset DataSfk_jzmx{ConKVL};
    Dataset DataReport{ConKVL};
    Dataset QueAll{ConKVL};
    Dataset QueSJ{ConKVL1};

    // The dataset a report reads under a link name ("RmSfk", "RmKcmx", ...), or null.
    Dataset *reportLink(const QString &name) const;
    QStringList reportLinkNames() const;

    // QueAll as every window uses it: close, clear, set the statement.
    Dataset &query(const QString &sql);

private:
    void defineDatasets();
    void create();

    QHash<QString, Dataset *> m_links;
};

// Types, widths, captions and formats of result columns as the schema gives them;
// every dataset of the module uses it.
void resolveFieldFromSchema(FieldDef &field);

// The module of this run; null before start-up creates it and while the
// maintenance operations re-create it.
inline TDataModKvl *DataModKvl = nullptr;

} // namespace kvl
