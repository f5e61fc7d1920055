// The client dataset: fetching, fields, states, editing, writing, batch
// changes, sort, filter, locate, lookups, master/detail and notifications.
#include "Dataset.h"

#include "Connection.h"
#include "DatasetWriter.h"
#include "Formatter.h"
#include "GbkText.h"
#include "Statement.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kvl {

namespace {

FieldResolver &defaultResolver()
{
    static FieldResolver r;
    return r;
}

ValueType typeFromDecl(const QString &decl)
{
    const QString d = decl.toUpper();
    if (d.isEmpty())
        return ValueType::Null;
    if (d.contains(u"INT"))
        return ValueType::Integer;
    if (d.contains(u"CHAR") || d.contains(u"TEXT") || d.contains(u"CLOB"))
        return ValueType::Text;
    if (d.contains(u"BLOB"))
        return ValueType::Bytes;
    if (d.contains(u"REAL") || d.contains(u"FLOA") || d.contains(u"DOUB"))
        return ValueType::Float;
    return ValueType::Null;
}

// One write on the connection: a savepoint inside the caller's transaction, or a
// transaction of its own when none is open. Left without release(), it undoes the write.
class WriteScope
{
public:
    explicit WriteScope(Connection &c) : m_conn(c)
    {
        const int rc = sqlite3_exec(c.handle(), "SAVEPOINT kvl_dataset_write", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            c.fail(rc);
    }
    ~WriteScope()
    {
        if (!m_done) {
            // Raw calls keep the connection's error list of the failure for the caller.
            sqlite3_exec(m_conn.handle(), "ROLLBACK TO kvl_dataset_write", nullptr, nullptr, nullptr);
            sqlite3_exec(m_conn.handle(), "RELEASE kvl_dataset_write", nullptr, nullptr, nullptr);
        }
    }
    void release()
    {
        const int rc = sqlite3_exec(m_conn.handle(), "RELEASE kvl_dataset_write", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            m_conn.fail(rc);
        m_done = true;
    }
    WriteScope(const WriteScope &) = delete;
    WriteScope &operator=(const WriteScope &) = delete;

private:
    Connection &m_conn;
    bool m_done = false;
};

// Result column names; a name that repeats is qualified by its table everywhere but
// in its last column (so "sfk.*" beside "kcmx.备注 AS 备注" gives "sfk.备注" and "备注").
QStringList resultNames(const Statement &st)
{
    const int n = st.columnCount();
    QStringList names;
    for (int c = 0; c < n; ++c)
        names << st.columnName(c);
    QStringList out = names;
    for (int c = 0; c < n; ++c) {
        bool later = false;
        for (int d = c + 1; d < n && !later; ++d)
            later = names[d].compare(names[c], Qt::CaseInsensitive) == 0;
        if (later) {
            const QString t = st.columnTable(c);
            out[c] = (t.isEmpty() ? QStringLiteral("expr") : t) + u'.' + names[c];
        }
    }
    for (int c = 0; c < n; ++c) {
        int k = 1;
        const QString base = out[c];
        for (int d = 0; d < c; ++d)
            if (out[d].compare(out[c], Qt::CaseInsensitive) == 0) {
                out[c] = base + u'_' + QString::number(k++);
                d = -1;
            }
    }
    return out;
}

qint64 floatKey(double d)
{
    qint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits < 0 ? bits ^ std::numeric_limits<qint64>::max() : bits;
}

} // namespace

Dataset::Dataset(Connection &conn, QObject *parent) : QObject(parent), m_conn(conn) {}

Dataset::~Dataset() = default;

// ---- query -----------------------------------------------------------------------

void Dataset::setSql(const QString &sql)
{
    if (isActive())
        throw DbError(QStringLiteral("数据集打开时不能更改查询语句。"));
    m_sql = sql;
}

void Dataset::setParam(const QString &name, const Value &v)
{
    const QString n = name.startsWith(u':') ? name.mid(1) : name;
    m_params.insert(n.toLower(), v);
}

Value Dataset::param(const QString &name) const
{
    const QString n = name.startsWith(u':') ? name.mid(1) : name;
    return m_params.value(n.toLower());
}

void Dataset::clearParams() { m_params.clear(); }

void Dataset::bindMaster(Statement &st) const
{
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString name = st.parameterName(i);
        if (name.isEmpty())
            continue;
        if (m_master && name.compare(m_masterParam, Qt::CaseInsensitive) == 0) {
            const bool has = m_master->isActive() && !m_master->isEmpty() && m_master->fieldIndex(m_masterField) >= 0;
            m_boundMasterValue = has ? m_master->value(m_masterField) : Value();
            st.bind(i, m_boundMasterValue);
        } else {
            st.bind(i, m_params.value(name.toLower()));
        }
    }
}

void Dataset::open()
{
    if (isActive())
        return;
    fetch(false);
    notifyReset();
    notifyState();
    notifyCurrent();
    emit opened();
}

void Dataset::requery()
{
    checkActive();
    checkBrowseMode();
    fetch(true);
    notifyReset();
    notifyCurrent();
}

void Dataset::fetch(bool keepView)
{
    if (m_sql.trimmed().isEmpty())
        throw DbError(QStringLiteral("数据集没有查询语句。"));
    try {
        clearRows();
        Statement st(m_conn, m_sql);
        bindMaster(st);
        buildFields(st);
        sqlite3_stmt *h = st.handle();
        const int n = int(m_columns.size());
        Column *cols = m_columns.data();
        while (st.next())
            for (int c = 0; c < n; ++c)
                cols[c].appendFromEngine(h, c);
        for (FieldDef &f : m_fields) {
            if (f.column < 0)
                continue;
            m_columns[size_t(f.column)].settle(ValueType::Text);
            f.type = m_columns[size_t(f.column)].type();
        }
        const quint32 rows = m_columns.empty() ? 0 : quint32(m_columns[0].size());
        m_base.resize(rows);
        std::iota(m_base.begin(), m_base.end(), 0u);
        ++m_generation;
        ++m_dataGeneration;
        m_state = State::Browse;
        Q_UNUSED(keepView);
        if (m_filtered && !m_filter.isEmpty())
            m_filter.bind(*this);
        rebuildView(0xFFFFFFFFu);
        connectLookups();
    } catch (...) {
        clearRows();
        m_fields.clear();
        m_fieldIndex.clear();
        m_state = State::Inactive;
        throw;
    }
}

void Dataset::buildFields(const Statement &st)
{
    const QStringList names = resultNames(st);
    QList<FieldDef> cols;
    for (int c = 0; c < names.size(); ++c) {
        FieldDef d;
        d.name = names[c];
        d.column = c;
        d.originTable = st.columnTable(c);
        d.originColumn = st.columnOrigin(c);
        d.declType = st.columnDeclType(c);
        d.type = typeFromDecl(d.declType);
        if (m_resolver)
            m_resolver(d);
        else if (defaultResolver())
            defaultResolver()(d);
        const auto t = m_columnTypes.constFind(d.name.toLower());
        if (t != m_columnTypes.constEnd())
            d.type = *t;
        cols << d;
    }
    QList<FieldDef> fields;
    std::vector<bool> used(size_t(cols.size()), false);
    for (const FieldDef &def : std::as_const(m_defs)) {
        if (def.isLookup()) {
            FieldDef f = def;
            f.column = -1;
            if (f.type == ValueType::Null)
                f.type = ValueType::Text;
            fields << f;
            continue;
        }
        int c = -1;
        for (int i = 0; i < cols.size() && c < 0; ++i)
            if (cols[i].name.compare(def.name, Qt::CaseInsensitive) == 0)
                c = i;
        if (c < 0)
            throw DbError(QStringLiteral("字段“%1”不在查询结果中。").arg(def.name));
        used[size_t(c)] = true;
        FieldDef f = def;
        const FieldDef &col = cols[c];
        f.name = col.name;
        f.column = col.column;
        f.originTable = col.originTable;
        f.originColumn = col.originColumn;
        f.declType = col.declType;
        if (f.type == ValueType::Null)
            f.type = col.type;
        if (f.size < 0)
            f.size = col.size;
        if (f.label.isEmpty())
            f.label = col.label;
        if (f.displayFormat.isEmpty()) {
            f.displayFormat = col.displayFormat;
            f.currency = f.currency || col.currency;
        }
        fields << f;
    }
    for (int i = 0; i < cols.size(); ++i)
        if (!used[size_t(i)])
            fields << cols[i];
    m_fields = fields;
    m_fieldIndex.clear();
    for (int i = 0; i < m_fields.size(); ++i)
        m_fieldIndex.insert(m_fields[i].name.toLower(), i);
    m_columns.clear();
    m_columns.reserve(size_t(cols.size()));
    for (int c = 0; c < cols.size(); ++c)
        m_columns.emplace_back(ValueType::Null);
    for (const FieldDef &f : std::as_const(m_fields))
        if (f.column >= 0)
            m_columns[size_t(f.column)] = Column(f.type);
}

void Dataset::clearRows()
{
    m_columns.clear();
    m_base.clear();
    m_view.clear();
    m_changes.clear();
    m_buffer.clear();
    m_writer.reset();
    m_cur = -1;
    m_bof = m_eof = true;
    m_modified = false;
    m_insertedFrom = -1;
    m_keyIndex = KeyIndex();
}

void Dataset::close()
{
    if (!isActive())
        return;
    clearRows();
    m_fields.clear();
    m_fieldIndex.clear();
    m_sortParts.clear();
    m_sortText.clear();
    m_state = State::Inactive;
    ++m_dataGeneration;
    for (const auto &c : std::as_const(m_lookupLinks))
        disconnect(c);
    m_lookupLinks.clear();
    notifyReset();
    notifyState();
    notifyCurrent();
}

int Dataset::execSql()
{
    Statement st(m_conn, m_sql);
    bindMaster(st);
    st.exec();
    return m_conn.changes();
}

// ---- fields -----------------------------------------------------------------------

void Dataset::setFieldDefs(const QList<FieldDef> &defs)
{
    if (isActive())
        throw DbError(QStringLiteral("数据集打开时不能更改字段定义。"));
    m_defs = defs;
}

void Dataset::setColumnType(const QString &name, ValueType type) { m_columnTypes.insert(name.toLower(), type); }

void Dataset::setFieldResolver(FieldResolver resolver) { m_resolver = std::move(resolver); }

void Dataset::setDefaultFieldResolver(FieldResolver resolver) { defaultResolver() = std::move(resolver); }

int Dataset::fieldIndex(const QString &name) const { return m_fieldIndex.value(name.toLower(), -1); }

const FieldDef &Dataset::field(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("字段“%1”不存在。").arg(name));
    return m_fields[i];
}

ValueType Dataset::fieldType(int field) const { return m_fields[field].type; }

const Column *Dataset::fieldColumn(int field) const
{
    const int c = m_fields[field].column;
    return c < 0 ? nullptr : &m_columns[size_t(c)];
}

Value Dataset::fieldValue(quint32 row, int field) const { return storedValue(row, field); }

void Dataset::connectLookups()
{
    for (const auto &c : std::as_const(m_lookupLinks))
        disconnect(c);
    m_lookupLinks.clear();
    QList<Dataset *> sources;
    for (const FieldDef &f : std::as_const(m_fields))
        if (f.isLookup() && f.lookup.dataset != this && !sources.contains(f.lookup.dataset))
            sources << f.lookup.dataset;
    for (Dataset *src : sources) {
        auto follow = [this] { notifyValues(); };
        m_lookupLinks << connect(src, &Dataset::reset, this, follow)
                      << connect(src, &Dataset::rowChanged, this, follow)
                      << connect(src, &Dataset::rowRemoved, this, follow)
                      << connect(src, &Dataset::valuesChanged, this, follow);
    }
}

// ---- stored rows ---------------------------------------------------------------------

Value Dataset::storedValue(quint32 row, int field) const
{
    const FieldDef &f = m_fields[field];
    if (f.isLookup()) {
        const int k = fieldIndex(f.lookup.keyField);
        return k < 0 ? Value() : lookupValue(f, storedValue(row, k));
    }
    return m_columns[size_t(f.column)].value(row);
}

std::vector<Value> Dataset::storedRow(quint32 row) const
{
    std::vector<Value> v(size_t(m_fields.size()));
    for (int i = 0; i < m_fields.size(); ++i)
        if (!m_fields[i].isLookup())
            v[size_t(i)] = m_columns[size_t(m_fields[i].column)].value(row);
    return v;
}

void Dataset::storeRow(quint32 row, const std::vector<Value> &values)
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (!m_fields[i].isLookup())
            m_columns[size_t(m_fields[i].column)].set(row, values[size_t(i)]);
    ++m_dataGeneration;
}

quint32 Dataset::newRow()
{
    for (Column &c : m_columns)
        c.appendNull();
    return m_columns.empty() ? 0 : quint32(m_columns[0].size() - 1);
}

Value Dataset::lookupValue(const FieldDef &f, const Value &key) const
{
    const Dataset *src = f.lookup.dataset;
    if (!src || !src->isActive() || key.isNull())
        return Value();
    const int kf = src->fieldIndex(f.lookup.lookupKeyField);
    const int rf = src->fieldIndex(f.lookup.resultField);
    if (kf < 0 || rf < 0)
        return Value();
    const qint64 row = src->findStoredRow(kf, key);
    if (row < 0)
        return Value();
    Value v = src->storedValue(quint32(row), rf);
    if (f.size > 0 && v.type() == ValueType::Text)
        v = Value(GbkText::cut(v.toString(), f.size));
    return v;
}

qint64 Dataset::findStoredRow(int field, const Value &key) const
{
    if (m_keyIndex.field != field || m_keyIndex.generation != m_dataGeneration) {
        m_keyIndex = KeyIndex();
        m_keyIndex.field = field;
        m_keyIndex.generation = m_dataGeneration;
        m_keyIndex.rows.reserve(qsizetype(m_base.size()));
        for (const quint32 r : m_base) {
            const Value v = storedValue(r, field);
            if (v.isNull())
                continue;
            if (v.type() == ValueType::Integer)
                m_keyIndex.ints.insert(v.toInt(), r); // keeps the first row of a key, as below
            else
                m_keyIndex.allIntegers = false;
            if (!m_keyIndex.rows.contains(v.toString()))
                m_keyIndex.rows.insert(v.toString(), r);
        }
    }
    // Integer keys (the ids lookups follow) are found without building a text per row.
    if (m_keyIndex.allIntegers && key.type() == ValueType::Integer) {
        const auto it = m_keyIndex.ints.constFind(key.toInt());
        return it == m_keyIndex.ints.constEnd() ? -1 : qint64(*it);
    }
    const auto it = m_keyIndex.rows.constFind(key.toString());
    return it == m_keyIndex.rows.constEnd() ? -1 : qint64(*it);
}

bool Dataset::lookupSortKeys(const FieldDef &f, const std::vector<quint32> &rows, std::vector<qint64> &out) const
{
    // The collation ranks of the source's own text column serve every row: no text
    // is built or compared per row. A cut lookup shows a shortened text, which may
    // sort differently, so it takes the general way.
    const Dataset *src = f.lookup.dataset;
    if (f.size > 0 || !src || !src->isActive())
        return false;
    const int k = fieldIndex(f.lookup.keyField), kf = src->fieldIndex(f.lookup.lookupKeyField),
              rf = src->fieldIndex(f.lookup.resultField);
    if (k < 0 || kf < 0 || rf < 0 || src->m_fields[rf].isLookup())
        return false;
    const Column &rc = src->m_columns[size_t(src->m_fields[rf].column)];
    if (rc.type() != ValueType::Text)
        return false;
    const std::vector<quint32> &ranks = rc.pool().ranks();
    const qint64 none = ranks[StringPool::kNull];
    out.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Value key = storedValue(rows[i], k);
        const qint64 sr = key.isNull() ? -1 : src->findStoredRow(kf, key);
        out[i] = sr < 0 ? none : qint64(ranks[rc.textIndex(sr)]);
    }
    return true;
}

// ---- navigation -------------------------------------------------------------------------

void Dataset::checkActive() const
{
    if (!isActive())
        throw DbError(QStringLiteral("数据集没有打开。"));
}

void Dataset::checkBrowseMode()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        if (m_modified)
            post();
        else
            cancel();
    }
}

void Dataset::setCurrent(int index)
{
    const int old = m_cur;
    m_cur = m_view.empty() ? -1 : std::clamp(index, 0, int(m_view.size()) - 1);
    if (m_cur != old)
        notifyCurrent();
}

void Dataset::first()
{
    checkActive();
    checkBrowseMode();
    setCurrent(0);
    m_bof = true;
    m_eof = m_view.empty();
}

void Dataset::last()
{
    checkActive();
    checkBrowseMode();
    setCurrent(int(m_view.size()) - 1);
    m_eof = true;
    m_bof = m_view.empty();
}

void Dataset::next()
{
    checkActive();
    checkBrowseMode();
    if (m_cur + 1 < int(m_view.size())) {
        setCurrent(m_cur + 1);
        m_bof = m_eof = false;
    } else {
        m_eof = true;
        m_bof = m_view.empty();
    }
}

void Dataset::prior()
{
    checkActive();
    checkBrowseMode();
    if (m_cur > 0) {
        setCurrent(m_cur - 1);
        m_bof = m_eof = false;
    } else {
        m_bof = true;
        m_eof = m_view.empty();
    }
}

void Dataset::moveTo(int index)
{
    checkActive();
    if (index == m_cur)
        return;
    checkBrowseMode();
    setCurrent(index);
    m_bof = m_eof = m_view.empty();
}

// ---- current row ----------------------------------------------------------------------------

Value Dataset::valueAt(int index, int field) const
{
    if (index < 0 || index >= int(m_view.size()) || field < 0 || field >= m_fields.size())
        return Value();
    const quint32 row = m_view[size_t(index)];
    if ((m_state == State::Edit || m_state == State::Insert) && row == m_editRow) {
        const FieldDef &f = m_fields[field];
        if (!f.isLookup())
            return m_buffer[size_t(field)];
        const int k = fieldIndex(f.lookup.keyField);
        return k < 0 ? Value() : lookupValue(f, m_buffer[size_t(k)]);
    }
    return storedValue(row, field);
}

QString Dataset::displayTextAt(int index, int field) const
{
    if (field < 0 || field >= m_fields.size())
        return QString();
    const FieldDef &f = m_fields[field];
    return Formatter::displayText(valueAt(index, field), f.type, f.displayFormat, f.currency);
}

Value Dataset::value(int field) const
{
    if (field < 0 || field >= m_fields.size())
        throw DbError(QStringLiteral("字段序号 %1 超出范围。").arg(field));
    return valueAt(m_cur, field);
}

Value Dataset::value(const QString &name) const
{
    const int f = fieldIndex(name);
    if (f < 0)
        throw DbError(QStringLiteral("字段“%1”不存在。").arg(name));
    return valueAt(m_cur, f);
}

QString Dataset::displayText(const QString &name) const
{
    const int f = fieldIndex(name);
    if (f < 0)
        throw DbError(QStringLiteral("字段“%1”不存在。").arg(name));
    return displayTextAt(m_cur, f);
}

void Dataset::setValue(const QString &name, const Value &v)
{
    const int f = fieldIndex(name);
    if (f < 0)
        throw DbError(QStringLiteral("字段“%1”不存在。").arg(name));
    setValue(f, v);
}

void Dataset::setValue(int field, const Value &v)
{
    const FieldDef &f = m_fields[field];
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("数据集不在编辑状态，不能修改字段“%1”。").arg(f.caption()));
    if (f.isLookup() || f.readOnly)
        throw DbError(QStringLiteral("字段“%1”是只读的，不能修改。").arg(f.caption()));
    Value converted;
    // Kept converted when it fits; kept as typed otherwise, for post to refuse.
    m_buffer[size_t(field)] = Formatter::convert(v, f.type, &converted, nullptr) ? converted : v;
    m_modified = true;
    notifyRow(m_cur);
}

// ---- editing -------------------------------------------------------------------------------------

void Dataset::edit()
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_view.empty()) {
        append();
        return;
    }
    m_editRow = m_view[size_t(m_cur)];
    m_buffer = storedRow(m_editRow);
    m_modified = false;
    m_state = State::Edit;
    notifyState();
}

void Dataset::append()
{
    checkActive();
    checkBrowseMode();
    m_insertedFrom = m_cur;
    const quint32 row = newRow();
    notifyAboutToInsert(int(m_view.size()));
    m_base.push_back(row);
    m_view.push_back(row);
    m_editRow = row;
    m_buffer.assign(size_t(m_fields.size()), Value());
    m_modified = false;
    m_state = State::Insert;
    m_cur = int(m_view.size()) - 1;
    m_bof = m_eof = false;
    notifyInserted(m_cur);
    notifyCurrent();
    notifyState();
}

void Dataset::insert()
{
    checkActive();
    checkBrowseMode();
    const int at = std::max(m_cur, 0);
    m_insertedFrom = m_cur;
    const quint32 row = newRow();
    notifyAboutToInsert(at);
    if (at < int(m_view.size())) {
        const auto b = std::find(m_base.begin(), m_base.end(), m_view[size_t(at)]);
        m_base.insert(b, row);
    } else {
        m_base.push_back(row);
    }
    m_view.insert(m_view.begin() + at, row);
    m_editRow = row;
    m_buffer.assign(size_t(m_fields.size()), Value());
    m_modified = false;
    m_state = State::Insert;
    m_cur = at;
    m_bof = m_eof = false;
    notifyInserted(m_cur);
    notifyCurrent();
    notifyState();
}

std::vector<Value> Dataset::checkedBuffer() const
{
    std::vector<Value> out = m_buffer;
    for (int i = 0; i < m_fields.size(); ++i) {
        const FieldDef &f = m_fields[i];
        if (f.isLookup())
            continue;
        Value &v = out[size_t(i)];
        QString why;
        Value converted;
        if (!Formatter::convert(v, f.type, &converted, &why))
            throw DbError(QStringLiteral("字段“%1”的值不正确：%2").arg(f.caption(), why));
        v = converted;
        if (f.type == ValueType::Text && f.size > 0 && !v.isNull() && v.toString().size() > f.size)
            throw DbError(QStringLiteral("字段“%1”最多 %2 个字符，现在是 %3 个字符，请缩短后再保存。")
                              .arg(f.caption())
                              .arg(f.size)
                              .arg(v.toString().size()));
        if (f.required && (v.isNull() || (f.type == ValueType::Text && v.toString().isEmpty())))
            throw DbError(QStringLiteral("字段“%1”必须输入。").arg(f.caption()));
    }
    return out;
}

DatasetWriter &Dataset::writer()
{
    if (!m_writer) {
        QString table = m_updateTable;
        if (table.isEmpty()) {
            for (const FieldDef &f : std::as_const(m_fields)) {
                if (f.isLookup() || f.originTable.isEmpty())
                    continue;
                if (table.isEmpty())
                    table = f.originTable;
                else if (table.compare(f.originTable, Qt::CaseInsensitive) != 0)
                    throw DbError(QStringLiteral("查询来自多个表，没有指定要写入的表，不能保存。"));
            }
            if (table.isEmpty())
                throw DbError(QStringLiteral("查询结果不来自任何表，不能保存。"));
        }
        m_writer = std::make_unique<DatasetWriter>(m_conn, table, m_fields, m_keyFields);
    }
    return *m_writer;
}

std::vector<std::pair<int, Value>> Dataset::reread(DatasetWriter &w, const std::vector<Value> &row)
{
    if (m_rereadSql.isEmpty())
        return w.readBack(row);
    std::vector<std::pair<int, Value>> out;
    Statement st(m_conn, m_rereadSql);
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString name = st.parameterName(i);
        st.bind(i, name.isEmpty() ? row[size_t(w.keyFields().front())] : m_params.value(name.toLower()));
    }
    if (!st.next())
        return out;
    const QStringList names = resultNames(st);
    for (int c = 0; c < names.size(); ++c) {
        const int f = fieldIndex(names[c]);
        if (f >= 0 && !m_fields[f].isLookup())
            out.emplace_back(f, Column::engineValue(st.handle(), c, m_fields[f].type));
    }
    return out;
}

void Dataset::post()
{
    checkActive();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    std::vector<Value> row = checkedBuffer();
    const bool inserting = m_state == State::Insert;
    if (m_batch) {
        if (inserting) {
            m_changes.insert(m_editRow, Change{Change::Inserted, {}, ++m_changeSeq});
        } else if (!m_changes.contains(m_editRow) && row != storedRow(m_editRow)) {
            m_changes.insert(m_editRow, Change{Change::Modified, storedRow(m_editRow), ++m_changeSeq});
        }
    } else {
        DatasetWriter &w = writer();
        const std::vector<Value> original = storedRow(m_editRow);
        WriteScope scope(m_conn);
        bool wrote = true;
        if (inserting)
            w.insertRow(row);
        else
            wrote = w.updateRow(original, row);
        if (wrote)
            for (const auto &[f, v] : reread(w, row))
                row[size_t(f)] = v;
        scope.release();
    }
    storeRow(m_editRow, row);
    m_buffer = row;
    m_state = State::Browse;
    m_modified = false;
    m_insertedFrom = -1;
    notifyRow(m_cur);
    notifyState();
    if (m_filtered && !m_filter.isEmpty() && !passesFilter(m_editRow)) {
        const int at = m_cur;
        notifyAboutToRemove(at);
        m_view.erase(m_view.begin() + at);
        notifyRemoved(at);
        setCurrent(at);
        m_eof = m_view.empty();
    }
}

void Dataset::cancel()
{
    if (m_state == State::Insert) {
        const int at = m_cur;
        // Browse before the views hear of the removal: a view that moves its current row
        // away from the leaving one must not cancel the insert a second time.
        m_state = State::Browse;
        m_modified = false;
        notifyAboutToRemove(at);
        m_view.erase(m_view.begin() + at);
        m_base.erase(std::find(m_base.begin(), m_base.end(), m_editRow));
        notifyRemoved(at);
        m_cur = -2; // force the notification of the row that becomes current
        setCurrent(m_insertedFrom >= 0 ? m_insertedFrom : at);
        m_eof = m_bof = m_view.empty();
        notifyState();
    } else if (m_state == State::Edit) {
        m_buffer.clear();
        m_state = State::Browse;
        m_modified = false;
        notifyRow(m_cur);
        notifyState();
    }
    m_insertedFrom = -1;
}

void Dataset::deleteRecord()
{
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_view.empty())
        throw DbError(QStringLiteral("数据集是空的，不能删除记录。"));
    const quint32 row = m_view[size_t(m_cur)];
    if (m_batch) {
        auto it = m_changes.find(row);
        if (it != m_changes.end() && it->kind == Change::Inserted)
            m_changes.erase(it);
        else if (it != m_changes.end())
            it->kind = Change::Deleted;
        else
            m_changes.insert(row, Change{Change::Deleted, storedRow(row), ++m_changeSeq});
    } else {
        DatasetWriter &w = writer();
        WriteScope scope(m_conn);
        w.deleteRow(storedRow(row));
        scope.release();
    }
    const int at = m_cur;
    notifyAboutToRemove(at);
    m_view.erase(m_view.begin() + at);
    m_base.erase(std::find(m_base.begin(), m_base.end(), row));
    ++m_dataGeneration;
    notifyRemoved(at);
    m_cur = -2;
    setCurrent(at);
    m_bof = m_eof = m_view.empty();
}

// ---- write settings -----------------------------------------------------------------------------------------

void Dataset::setUpdateTable(const QString &table)
{
    m_updateTable = table;
    m_writer.reset();
}

void Dataset::setKeyFields(const QStringList &fields)
{
    m_keyFields = fields;
    m_writer.reset();
}

void Dataset::setRereadSql(const QString &sql) { m_rereadSql = sql; }

// ---- batch ------------------------------------------------------------------------------------------

void Dataset::setBatchMode(bool on)
{
    if (!m_changes.empty())
        throw DbError(QStringLiteral("还有没有写入的修改，不能更改数据集的写入方式。"));
    m_batch = on;
}

void Dataset::applyUpdates()
{
    checkActive();
    checkBrowseMode();
    if (m_changes.empty())
        return;
    DatasetWriter &w = writer();
    QList<quint32> rows = m_changes.keys();
    auto rank = [this](quint32 r) {
        const Change &c = m_changes[r];
        return std::pair(c.kind == Change::Deleted ? 0 : c.kind == Change::Modified ? 1 : 2, c.seq);
    };
    std::sort(rows.begin(), rows.end(), [&](quint32 a, quint32 b) { return rank(a) < rank(b); });
    std::vector<std::pair<quint32, std::vector<Value>>> written;
    {
        WriteScope scope(m_conn);
        for (const quint32 r : std::as_const(rows)) {
            const Change &c = m_changes[r];
            if (c.kind == Change::Deleted) {
                w.deleteRow(c.original);
                continue;
            }
            std::vector<Value> now = storedRow(r);
            const bool wrote = c.kind == Change::Inserted ? (w.insertRow(now), true) : w.updateRow(c.original, now);
            if (wrote)
                for (const auto &[f, v] : reread(w, now))
                    now[size_t(f)] = v;
            written.emplace_back(r, std::move(now));
        }
        scope.release();
    }
    // Only now, with every write done, does the dataset take the written state.
    for (const auto &[r, values] : written)
        storeRow(r, values);
    m_changes.clear();
    notifyValues();
}

void Dataset::cancelUpdates()
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    if (m_changes.empty())
        return;
    const quint32 keep = m_cur >= 0 ? m_view[size_t(m_cur)] : 0xFFFFFFFFu;
    std::vector<quint32> base;
    base.reserve(m_base.size());
    for (const quint32 r : m_base) {
        const auto it = m_changes.constFind(r);
        if (it == m_changes.constEnd() || it->kind != Change::Inserted)
            base.push_back(r);
    }
    for (auto it = m_changes.cbegin(); it != m_changes.cend(); ++it) {
        if (it->kind == Change::Deleted)
            base.push_back(it.key());
        if (it->kind != Change::Inserted)
            storeRow(it.key(), it->original);
    }
    std::sort(base.begin(), base.end());
    m_base.swap(base);
    m_changes.clear();
    ++m_dataGeneration;
    rebuildView(keep);
    notifyReset();
    notifyCurrent();
}

// ---- sort and filter ------------------------------------------------------------------------------------

void Dataset::sortKeys(const SortOrder::Part &part, const std::vector<quint32> &rows, SortOrder::Keys &out) const
{
    const int fi = fieldIndex(part.field);
    if (fi < 0)
        throw DbError(QStringLiteral("排序字段“%1”不存在。").arg(part.field));
    const FieldDef &f = m_fields[fi];
    out.descending = part.descending;
    if (f.isLookup() && lookupSortKeys(f, rows, out.values))
        return;
    out.values.resize(rows.size());
    Column temp(f.type);
    const Column *col = nullptr;
    if (f.isLookup()) {
        for (const quint32 r : rows)
            temp.append(storedValue(r, fi));
    } else {
        col = &m_columns[size_t(f.column)];
    }
    const Column &c = col ? *col : temp;
    auto at = [&](size_t i) { return col ? qsizetype(rows[i]) : qsizetype(i); };
    switch (c.type()) {
    case ValueType::Text: {
        const std::vector<quint32> &ranks = c.pool().ranks();
        for (size_t i = 0; i < rows.size(); ++i)
            out.values[i] = ranks[c.textIndex(at(i))];
        break;
    }
    case ValueType::Float:
        for (size_t i = 0; i < rows.size(); ++i)
            out.values[i] = c.isNull(at(i)) ? std::numeric_limits<qint64>::min() : floatKey(c.realAt(at(i)));
        break;
    case ValueType::Bytes:
        std::fill(out.values.begin(), out.values.end(), 0);
        break;
    default:
        for (size_t i = 0; i < rows.size(); ++i)
            out.values[i] = c.isNull(at(i)) ? std::numeric_limits<qint64>::min() : c.intAt(at(i));
        break;
    }
}

bool Dataset::passesFilter(quint32 row) const
{
    return !m_filtered || m_filter.matches(row);
}

void Dataset::rebuildView(quint32 keepRow)
{
    std::vector<quint32> view;
    if (m_filtered && !m_filter.isEmpty()) {
        view.reserve(m_base.size());
        for (const quint32 r : m_base)
            if (m_filter.matches(r))
                view.push_back(r);
    } else {
        view = m_base;
    }
    if (!m_sortParts.isEmpty()) {
        std::vector<SortOrder::Keys> keys(size_t(m_sortParts.size()));
        for (int i = 0; i < m_sortParts.size(); ++i)
            sortKeys(m_sortParts[i], view, keys[size_t(i)]);
        SortOrder::sort(view, keys);
    }
    m_view.swap(view);
    int cur = m_view.empty() ? -1 : 0;
    if (keepRow != 0xFFFFFFFFu) {
        const auto it = std::find(m_view.begin(), m_view.end(), keepRow);
        if (it != m_view.end())
            cur = int(it - m_view.begin());
    }
    m_cur = cur;
    m_bof = true;
    m_eof = m_view.empty();
}

void Dataset::setSortText(const QString &text)
{
    const QList<SortOrder::Part> parts = SortOrder::parse(text);
    if (!isActive()) {
        m_sortParts = parts;
        m_sortText = text;
        return;
    }
    for (const SortOrder::Part &p : parts)
        if (fieldIndex(p.field) < 0)
            throw DbError(QStringLiteral("排序字段“%1”不存在。").arg(p.field));
    checkBrowseMode();
    const quint32 keep = m_cur >= 0 ? m_view[size_t(m_cur)] : 0xFFFFFFFFu;
    m_sortParts = parts;
    m_sortText = text;
    rebuildView(keep);
    notifyReset();
    notifyCurrent();
}

void Dataset::setFilterText(const QString &text)
{
    FilterExpression parsed(text); // throws before anything changes
    if (isActive() && m_filtered)
        parsed.bind(*this);
    if (isActive())
        checkBrowseMode();
    m_filter = std::move(parsed);
    if (isActive() && m_filtered) {
        rebuildView(0xFFFFFFFFu);
        notifyReset();
        notifyCurrent();
    }
}

void Dataset::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (!isActive()) {
        m_filtered = on;
        return;
    }
    if (on)
        m_filter.bind(*this);
    checkBrowseMode();
    const quint32 keep = m_cur >= 0 ? m_view[size_t(m_cur)] : 0xFFFFFFFFu;
    m_filtered = on;
    // Switching the filter on makes the first passing row current; off keeps the row.
    rebuildView(on ? 0xFFFFFFFFu : keep);
    notifyReset();
    notifyCurrent();
}

// ---- locate, bookmarks ------------------------------------------------------------------------------------

bool Dataset::locate(const QString &fieldName, const Value &v, LocateOptions options)
{
    checkActive();
    const int fi = fieldIndex(fieldName);
    if (fi < 0)
        throw DbError(QStringLiteral("字段“%1”不存在。").arg(fieldName));
    const FieldDef &f = m_fields[fi];
    const Column *col = f.isLookup() ? nullptr : &m_columns[size_t(f.column)];
    const bool textMatch = f.type == ValueType::Text || options != LocateOptions();
    const Qt::CaseSensitivity cs = options.testFlag(CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString wanted = v.toString();
    auto textMatches = [&](const QString &s) {
        return options.testFlag(PartialKey) ? s.startsWith(wanted, cs) : s.compare(wanted, cs) == 0;
    };
    Value typed;
    if (!textMatch && !v.isNull() && !Formatter::convert(v, f.type, &typed, nullptr))
        return false;
    std::vector<qint8> memo;
    int found = -1;
    for (size_t i = 0; i < m_view.size() && found < 0; ++i) {
        const quint32 r = m_view[i];
        if (v.isNull()) {
            if (col ? col->isNull(r) : storedValue(r, fi).isNull())
                found = int(i);
            continue;
        }
        if (textMatch && col && col->type() == ValueType::Text) {
            const quint32 idx = col->textIndex(r);
            if (idx == StringPool::kNull)
                continue;
            if (memo.size() <= idx)
                memo.resize(col->pool().size(), -1);
            if (memo[idx] < 0)
                memo[idx] = textMatches(col->pool().text(idx)) ? 1 : 0;
            if (memo[idx] == 1)
                found = int(i);
            continue;
        }
        const Value x = storedValue(r, fi);
        if (x.isNull())
            continue;
        if (textMatch ? textMatches(x.toString()) : x == typed)
            found = int(i);
    }
    if (found < 0)
        return false;
    checkBrowseMode();
    setCurrent(found);
    m_bof = m_eof = false;
    return true;
}

Dataset::Bookmark Dataset::bookmark() const
{
    Bookmark b;
    if (m_cur >= 0) {
        b.row = m_view[size_t(m_cur)];
        b.generation = m_generation;
    }
    return b;
}

bool Dataset::gotoBookmark(const Bookmark &b)
{
    if (!isActive() || !b.isValid() || b.generation != m_generation)
        return false;
    const auto it = std::find(m_view.begin(), m_view.end(), b.row);
    if (it == m_view.end())
        return false;
    checkBrowseMode();
    setCurrent(int(it - m_view.begin()));
    m_bof = m_eof = false;
    return true;
}

// ---- master and detail -------------------------------------------------------------------------------------

void Dataset::setMaster(Dataset *master, const QString &masterField, const QString &param)
{
    for (const auto &c : std::as_const(m_masterLinks))
        disconnect(c);
    m_masterLinks.clear();
    m_master = master;
    m_masterField = masterField;
    m_masterParam = param.startsWith(u':') ? param.mid(1) : param;
    if (!master)
        return;
    auto moved = [this] { followMaster(true); };
    auto edited = [this] { followMaster(false); };
    m_masterLinks << connect(master, &Dataset::currentChanged, this, moved)
                  << connect(master, &Dataset::reset, this, moved)
                  << connect(master, &Dataset::rowChanged, this, edited);
}

void Dataset::followMaster(bool moved)
{
    // Signals from a frozen master never arrive; its resume sends a reset, which lands here.
    if (!isActive() || !m_master)
        return;
    if (!moved) {
        // A change of the master row matters only when it changes the key the detail follows.
        const bool has = m_master->isActive() && !m_master->isEmpty() && m_master->fieldIndex(m_masterField) >= 0;
        if ((has ? m_master->value(m_masterField) : Value()) == m_boundMasterValue)
            return;
    }
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    fetch(true);
    notifyReset();
    notifyCurrent();
}

// ---- freezing and notifications ---------------------------------------------------------------------------------

void Dataset::disableControls() { ++m_freeze; }

void Dataset::enableControls()
{
    if (m_freeze == 0)
        return;
    if (--m_freeze == 0 && m_suppressed) {
        m_suppressed = false;
        emit reset();
        emit currentChanged(m_cur);
    }
}

void Dataset::notifyReset()
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit reset();
}

void Dataset::notifyValues()
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit valuesChanged();
}

void Dataset::notifyRow(int index)
{
    if (m_freeze > 0)
        m_suppressed = true;
    else if (index >= 0)
        emit rowChanged(index);
}

void Dataset::notifyAboutToInsert(int index)
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit rowAboutToBeInserted(index);
}

void Dataset::notifyAboutToRemove(int index)
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit rowAboutToBeRemoved(index);
}

void Dataset::notifyInserted(int index)
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit rowInserted(index);
}

void Dataset::notifyRemoved(int index)
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit rowRemoved(index);
}

void Dataset::notifyCurrent()
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit currentChanged(m_cur);
}

void Dataset::notifyState()
{
    if (m_freeze > 0)
        m_suppressed = true;
    else
        emit stateChanged(m_state);
}

size_t Dataset::memoryBytes() const
{
    size_t n = (m_base.capacity() + m_view.capacity()) * sizeof(quint32);
    for (const Column &c : m_columns)
        n += c.memoryBytes();
    return n;
}

size_t Dataset::textBytes() const
{
    size_t n = 0;
    for (const Column &c : m_columns)
        n += c.textBytes();
    return n;
}

} // namespace kvl
