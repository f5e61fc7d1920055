// The data file's tables. Every width, type and link rule is enforced by the
// engine itself, and each refusal reads as a message a clerk understands:
// width and type rules carry their text between {B} and {E}; the link triggers
// carry the class tag the connection maps onto the program's error numbers.
#include "Schema.h"

#include "Connection.h"
#include "Statement.h"

#include <QStringList>

namespace kvl::Schema {

QString databasePassword() { return QStringLiteral("PlumHarbor7|XRZ"); }

namespace {

enum class Kind { Integer, Key, AutoKey, Text, Money, Boolean, DateTime, Blob };

struct Column
{
    const char *name;
    Kind kind;
    int width = 0; // characters, for Text; 0 = unlimited
};

struct Table
{
    const char *name;
    std::initializer_list<Column> columns;
};

// The rule on one column, named so the refusal shows a readable text.
QString rule(const QString &table, const Column &c)
{
    const QString col = QString::fromUtf8(c.name);
    auto named = [&](const QString &text, const QString &check) {
        return QStringLiteral(",\n  CONSTRAINT \"{B}%1{E}\" CHECK(%2)").arg(text, check);
    };
    const QString where = QStringLiteral("［%1］的［%2］").arg(table, col);
    switch (c.kind) {
    case Kind::Text:
        if (c.width > 0)
            return named(QStringLiteral("%1最多只能录入%2个字符，请缩短后再保存！").arg(where).arg(c.width),
                         QStringLiteral("length(%1) <= %2").arg(col).arg(c.width));
        return QString();
    case Kind::Integer:
    case Kind::Key:
        return named(QStringLiteral("%1超出了整数的范围！").arg(where),
                     QStringLiteral("%1 BETWEEN -2147483648 AND 2147483647").arg(col));
    case Kind::Boolean:
        return named(QStringLiteral("%1只能是“是”或“否”！").arg(where),
                     QStringLiteral("%1 IN (0, 1)").arg(col));
    case Kind::DateTime:
        return named(QStringLiteral("%1不是有效的日期！").arg(where),
                     QStringLiteral("%1 GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'").arg(col));
    default:
        return QString();
    }
}

QString columnSql(const Column &c)
{
    const QString col = QString::fromUtf8(c.name);
    switch (c.kind) {
    case Kind::Key:
        return col + QStringLiteral(" INTEGER PRIMARY KEY");
    case Kind::AutoKey:
        return col + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case Kind::Integer:
        return col + QStringLiteral(" INTEGER");
    case Kind::Text:
        // Texts the program writes are never NULL; the default covers inserts that omit them.
        return col + QStringLiteral(" TEXT DEFAULT ''");
    case Kind::Money:
        return col + QStringLiteral(" INTEGER DEFAULT 0");
    case Kind::Boolean:
        return col + QStringLiteral(" INTEGER DEFAULT 0");
    case Kind::DateTime:
        return col + QStringLiteral(" TEXT");
    case Kind::Blob:
        return col + QStringLiteral(" BLOB");
    }
    return col;
}

const Table kTables[] = {
    {"往来单位", {{"id", Kind::Key}, {"单位编号", Kind::Text, 30}, {"单位名称", Kind::Text, 60},
                  {"联系人", Kind::Text, 60}, {"联系电话", Kind::Text, 60}, {"邮政编码", Kind::Text, 10},
                  {"通信地址", Kind::Text, 60}, {"备注", Kind::Text, 255}, {"暂停", Kind::Boolean}}},
    {"公司员工", {{"id", Kind::Key}, {"员工编号", Kind::Text, 10}, {"员工姓名", Kind::Text, 20},
                  {"联系电话", Kind::Text, 60}, {"家庭住址", Kind::Text, 60}, {"备注", Kind::Text, 255},
                  {"暂停", Kind::Boolean}}},
    {"商品资料", {{"id", Kind::Key}, {"商品编号", Kind::Text, 30}, {"商品名称", Kind::Text, 60},
                  {"商品类别", Kind::Text, 20}, {"商品产地", Kind::Text, 20}, {"计量单位", Kind::Text, 20},
                  {"备注", Kind::Text, 255}, {"暂停", Kind::Boolean}, {"参考进价", Kind::Money},
                  {"参考销价", Kind::Money}}},
    {"商品类别", {{"拼音简码", Kind::Text, 10}, {"商品类别", Kind::Text, 20}}},
    {"商品产地", {{"拼音简码", Kind::Text, 10}, {"商品产地", Kind::Text, 20}}},
    {"计量单位", {{"拼音简码", Kind::Text, 10}, {"计量单位", Kind::Text, 20}}},
    {"sfk", {{"id", Kind::Key}, {"制单日期", Kind::DateTime}, {"类别", Kind::Text, 4}, {"单号", Kind::Text, 10},
             {"dw_id", Kind::Integer}, {"xszg_id", Kind::Integer}, {"应收款金额（出货）", Kind::Money},
             {"结帐、应付款金额（进货）", Kind::Money}, {"备注", Kind::Text, 60}, {"结帐", Kind::Boolean}}},
    {"kcmx", {{"id", Kind::AutoKey}, {"sf_id", Kind::Integer}, {"kcsp_id", Kind::Integer}, {"sl", Kind::Money},
              {"dj", Kind::Money}, {"je", Kind::Money}, {"备注", Kind::Text, 20}}},
    {"jzmx", {{"id", Kind::AutoKey}, {"sf_id", Kind::Integer}, {"sfid_mx", Kind::Integer}}},
    {"PH", {{"dw", Kind::Integer}, {"zg", Kind::Integer}, {"sp", Kind::Integer}, {"sfk", Kind::Integer},
            {"dh_ysk", Kind::Integer}, {"dh_yfk", Kind::Integer}, {"dh_sk", Kind::Integer},
            {"UserName", Kind::Text, 100}, {"pass", Kind::Text, 50}, {"JPEG", Kind::Blob},
            {"BBH36", Kind::Text, 50}}},
    {"GridColSelect", {{"Fname", Kind::Text, 100}, {"UserID", Kind::Integer}, {"TitleCaption", Kind::Text, 100},
                       {"ColWidth", Kind::Integer}, {"ColIndex", Kind::Integer}}},
    {"report", {{"Id", Kind::AutoKey}, {"Name", Kind::Text, 60}, {"Template", Kind::Blob}}},
};

// A link the engine enforces: child.column names master.id (NULL is no link).
struct Link
{
    const char *child;
    const char *column;
    const char *master;
};

const Link kLinks[] = {
    {"sfk", "dw_id", "往来单位"},
    {"sfk", "xszg_id", "公司员工"},
    {"kcmx", "kcsp_id", "商品资料"},
};

QString linkTriggers(const Link &l, int n)
{
    const QString child = QString::fromUtf8(l.child), col = QString::fromUtf8(l.column),
                  master = QString::fromUtf8(l.master);
    const QString missing = QStringLiteral("KVL-MISSING:不能添加或修改记录。表［%1］中没有相关记录。").arg(master);
    const QString referenced = QStringLiteral("KVL-REFERENCED:不能删除或修改记录。表［%1］中包含相关记录。").arg(child);
    const QString missingCheck = QStringLiteral("NEW.%1 IS NOT NULL AND NOT EXISTS(SELECT 1 FROM %2 WHERE id = NEW.%1)").arg(col, master);
    const QString referencedCheck = QStringLiteral("EXISTS(SELECT 1 FROM %1 WHERE %2 = OLD.id)").arg(child, col);
    return QStringLiteral(
               "CREATE TRIGGER link%1_ins BEFORE INSERT ON %2 WHEN %3 BEGIN SELECT RAISE(ABORT, '%4'); END;\n"
               "CREATE TRIGGER link%1_upd BEFORE UPDATE OF %5 ON %2 WHEN %3 BEGIN SELECT RAISE(ABORT, '%4'); END;\n"
               "CREATE TRIGGER link%1_del BEFORE DELETE ON %6 WHEN %7 BEGIN SELECT RAISE(ABORT, '%8'); END;\n"
               "CREATE TRIGGER link%1_key BEFORE UPDATE OF id ON %6 WHEN OLD.id IS NOT NEW.id AND %7 "
               "BEGIN SELECT RAISE(ABORT, '%8'); END;\n")
        .arg(n)
        .arg(child, missingCheck, missing, col, master, referencedCheck, referenced);
}

const char *const kIndexes[] = {
    "CREATE INDEX sfk_dw_id ON sfk(dw_id)",
    "CREATE INDEX sfk_xszg_id ON sfk(xszg_id)",
    "CREATE INDEX sfk_zdrq ON sfk(制单日期)",
    "CREATE INDEX kcmx_sf_id ON kcmx(sf_id)",
    "CREATE INDEX kcmx_kcsp_id ON kcmx(kcsp_id)",
    "CREATE INDEX jzmx_sf_id ON jzmx(sf_id)",
    "CREATE INDEX jzmx_sfid_mx ON jzmx(sfid_mx)",
    "CREATE INDEX wldw_dwbh ON 往来单位(单位编号)",
    "CREATE INDEX spzl_spbh ON 商品资料(商品编号)",
    "CREATE INDEX gsyg_ygbh ON 公司员工(员工编号)",
    "CREATE INDEX gridcol_fname ON GridColSelect(Fname)",
    "CREATE INDEX report_name ON report(Name)",
};

} // namespace

std::optional<ColumnInfo> column(const QString &table, const QString &name)
{
    for (const Table &t : kTables) {
        if (table != QString::fromUtf8(t.name))
            continue;
        for (const Column &c : t.columns) {
            if (name != QString::fromUtf8(c.name))
                continue;
            ColumnInfo info;
            info.width = c.width;
            switch (c.kind) {
            case Kind::Integer:
            case Kind::Key:
            case Kind::AutoKey:
                info.type = ValueType::Integer;
                break;
            case Kind::Text:
                info.type = ValueType::Text;
                break;
            case Kind::Money:
                info.type = ValueType::Money;
                info.displayFormat = QStringLiteral(",0.00;;#");
                break;
            case Kind::Boolean:
                info.type = ValueType::Boolean;
                break;
            case Kind::DateTime:
                info.type = ValueType::DateTime;
                info.displayFormat = QStringLiteral("yyyy/mm/dd");
                break;
            case Kind::Blob:
                info.type = ValueType::Bytes;
                break;
            }
            if (table == QLatin1String("sfk")) {
                if (name == QStringLiteral("应收款金额（出货）"))
                    info.caption = QStringLiteral("出货（应收款）金额");
                else if (name == QStringLiteral("结帐、应付款金额（进货）"))
                    info.caption = QStringLiteral("结帐、进货（应付款）金额");
            } else if (table == QLatin1String("kcmx")) {
                if (name == QLatin1String("sl")) {
                    info.caption = QStringLiteral("数量");
                    info.displayFormat = QStringLiteral("#.####");
                } else if (name == QLatin1String("dj")) {
                    info.caption = QStringLiteral("单价");
                    info.displayFormat = QStringLiteral(",0.00##");
                } else if (name == QLatin1String("je")) {
                    info.caption = QStringLiteral("金额");
                    info.displayFormat.clear();
                    info.currency = true;
                }
            }
            return info;
        }
    }
    return std::nullopt;
}

bool isComputedMoney(const QString &name)
{
    static const QStringList names = {QStringLiteral("应收款余额"), QStringLiteral("本次结帐金额"),
                                      QStringLiteral("出货（应收款）金额"), QStringLiteral("进货（应付款）金额")};
    return names.contains(name);
}

void create(Connection &conn)
{
    QString sql;
    for (const Table &t : kTables) {
        const QString name = QString::fromUtf8(t.name);
        QStringList cols;
        QString rules;
        for (const Column &c : t.columns) {
            cols << columnSql(c);
            rules += rule(name, c);
        }
        sql += QStringLiteral("CREATE TABLE %1 (\n  %2%3\n) STRICT;\n").arg(name, cols.join(QStringLiteral(",\n  ")), rules);
    }
    int n = 0;
    for (const Link &l : kLinks)
        sql += linkTriggers(l, ++n);
    for (const char *ix : kIndexes)
        sql += QString::fromUtf8(ix) + QStringLiteral(";\n");
    conn.exec(sql);
}

void createDataFile(const QString &path, const QString &companyName)
{
    Connection::createDataFile(path, databasePassword());
    Connection conn;
    conn.connect(path, databasePassword());
    Transaction tr(conn);
    create(conn);
    Statement ph(conn, QStringLiteral(
        "INSERT INTO PH(dw, zg, sp, sfk, dh_ysk, dh_yfk, dh_sk, UserName, pass, JPEG, BBH36) "
        "VALUES(0, 0, 0, 0, 0, 0, 0, :name, '', X'', '3.6')"));
    ph.bind(QStringLiteral("name"), Value(companyName));
    ph.exec();
    tr.commit();
}

} // namespace kvl::Schema
