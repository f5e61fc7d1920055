// The client dataset every window works on: a query result held in memory
// (column-wise, compact), with Delphi-like states and navigation, editing,
// write-through by key or batch updates, in-memory sort, filter, locate,
// bookmarks, lookup fields, master/detail, freezing of bound views and change
// notifications for the views that follow it.
#pragma once

#include "Column.h"
#include "FieldDef.h"
#include "FilterExpression.h"
#include "SortOrder.h"
#include "Value.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

namespace kvl {

class Connection;
class DatasetWriter;

class Dataset : public QObject, private FilterExpression::Source
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    enum LocateOption { PartialKey = 0x1, CaseInsensitive = 0x2 };
    Q_DECLARE_FLAGS(LocateOptions, LocateOption)

    // A row remembered across sorting, filtering and edits; invalid after the dataset reopens.
    struct Bookmark
    {
        quint32 row = 0xFFFFFFFFu;
        quint64 generation = 0;
        bool isValid() const { return row != 0xFFFFFFFFu; }
    };

    explicit Dataset(Connection &conn, QObject *parent = nullptr);
    ~Dataset() override;

    Connection &connection() const { return m_conn; }

    // ---- query -------------------------------------------------------------
    const QString &sql() const { return m_sql; }
    void setSql(const QString &sql);                         // throws DbError while open
    // Named parameters (":name" in the text, matched without regard to case), bound at open.
    void setParam(const QString &name, const Value &v);
    Value param(const QString &name) const;
    void clearParams();

    void open();       // fetches the whole result; throws DbError (the dataset stays closed)
    void close();      // drops unapplied batch changes and the sort
    bool isActive() const { return m_state != State::Inactive; }
    // Re-reads the result with the same text and parameters, keeping sort and filter.
    void requery();
    // Runs the text as a statement without a result (INSERT, UPDATE, DELETE); returns changed rows.
    int execSql();

    // ---- fields --------------------------------------------------------------
    // Definitions applied by name at open: listed fields first in their order (data
    // fields must be in the result; lookups are added), then the result's other columns.
    void setFieldDefs(const QList<FieldDef> &defs);
    const QList<FieldDef> &fieldDefs() const { return m_defs; }
    // Type of a result column the engine only knows as INTEGER or TEXT (money, boolean, date-time).
    void setColumnType(const QString &name, ValueType type);
    void setFieldResolver(FieldResolver resolver);
    static void setDefaultFieldResolver(FieldResolver resolver);

    // The fields as presented while open.
    const QList<FieldDef> &fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    int fieldIndex(const QString &name) const override;      // -1 when there is none
    const FieldDef &field(const QString &name) const;       // throws DbError when there is none

    // ---- state and navigation --------------------------------------------------
    State state() const { return m_state; }
    bool modified() const { return m_modified; }
    bool isEmpty() const { return m_view.empty(); }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    int recordCount() const { return int(m_view.size()); }
    int currentIndex() const { return m_cur; }               // -1 when there is no row
    int recNo() const { return m_cur + 1; }                  // 1-based; 0 when there is no row
    // Moving posts a modified edit first, or drops an unmodified one.
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int index);

    // ---- the current row -----------------------------------------------------------
    Value value(const QString &name) const;
    Value value(int field) const;
    QString displayText(const QString &name) const;
    bool isNull(const QString &name) const { return value(name).isNull(); }
    // Only in Edit or Insert state. A value that does not fit the field is kept as
    // typed and refused at post. Throws DbError for a read-only or lookup field.
    void setValue(const QString &name, const Value &v);
    void setValue(int field, const Value &v);

    // Any row, by its position in the current order (what a view shows).
    Value valueAt(int index, int field) const;
    QString displayTextAt(int index, int field) const;

    // ---- editing ---------------------------------------------------------------------
    void append();         // a new row at the end
    void insert();         // a new row before the current one
    void edit();           // on an empty dataset: append()
    // Checks the row (types, text widths, required fields), then writes it (write-through)
    // or keeps it (batch). A refusal or a failed write throws DbError and leaves the row as
    // typed, the dataset in its state and the data file as it was.
    void post();
    void cancel();
    void deleteRecord();   // throws DbError on an empty dataset or a failed write

    // ---- locate, bookmarks -----------------------------------------------------------------
    // Moves to the first row, in the current order, whose field matches; false leaves the row.
    bool locate(const QString &field, const Value &v, LocateOptions options = {});
    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark &b);   // false when the row is gone or filtered out
    void freeBookmark(Bookmark &b) { b = Bookmark(); }

    // ---- sort and filter ----------------------------------------------------------------------
    QString sortText() const { return m_sortText; }
    // "单号, 制单日期 DESC": reorders the rows without a query; empty gives the query's order.
    // Throws DbError for an unknown field (the order stays as it was).
    void setSortText(const QString &text);
    QString filterText() const { return m_filter.text(); }
    void setFilterText(const QString &text);   // throws DbError when the text does not parse
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on);                 // throws DbError for an unknown field in the text

    // ---- master and detail --------------------------------------------------------------
    // Binds `param` to `masterField` of the master's current row; the detail re-reads on
    // every move of the master while it is open, except while the master is frozen.
    void setMaster(Dataset *master, const QString &masterField, const QString &param);
    Dataset *master() const { return m_master; }

    // ---- writing ----------------------------------------------------------------------
    // The table posts and deletes write; empty: the one table the result comes from.
    void setUpdateTable(const QString &table);
    QString updateTable() const { return m_updateTable; }
    // Fields that find the row; empty: the update table's primary key.
    void setKeyFields(const QStringList &fields);
    // Re-read after each write: a statement whose "?" takes the row's key value.
    // Without one, the update table's own columns are read back by key.
    void setRereadSql(const QString &sql);
    QString rereadSql() const { return m_rereadSql; }

    // Batch mode: posts and deletes stay in memory until applyUpdates().
    void setBatchMode(bool on);
    bool batchMode() const { return m_batch; }
    bool hasPendingChanges() const { return !m_changes.empty(); }
    int pendingChangeCount() const { return int(m_changes.size()); }
    // Writes every pending change (deletes, then updates, then inserts) inside the open
    // transaction of the connection, or in one of its own when none is open. A failure
    // throws DbError and leaves the pending changes and the data file as they were.
    void applyUpdates();
    // Restores the rows as they were read.
    void cancelUpdates();

    // ---- freezing bound views -------------------------------------------------------------
    // Nested: each disable needs one enable; an enable without a disable does nothing.
    // While frozen no notification goes out; the last enable sends one reset.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_freeze > 0; }

    // Bytes held for the rows, texts excluded; and the bytes of the distinct texts.
    size_t memoryBytes() const;
    size_t textBytes() const;

signals:
    void opened();                   // after open() fetched the rows; owners set up their state here
    void reset();                    // rows or fields replaced: open, close, sort, filter, resume
    void valuesChanged();            // any value may have changed; rows unchanged (lookup sources)
    void rowChanged(int index);      // the values of one row (also the edit buffer)
    void rowAboutToBeInserted(int index); // each is followed by rowInserted / rowRemoved
    void rowInserted(int index);
    void rowAboutToBeRemoved(int index);
    void rowRemoved(int index);
    void currentChanged(int index);
    void stateChanged(kvl::Dataset::State state);

private:
    struct Change
    {
        enum Kind { Inserted, Modified, Deleted } kind = Modified;
        std::vector<Value> original;
        quint64 seq = 0;
    };

    // FilterExpression::Source
    ValueType fieldType(int field) const override;
    const Column *fieldColumn(int field) const override;
    Value fieldValue(quint32 row, int field) const override;

    void checkActive() const;
    void checkBrowseMode();
    void fetch(bool keepView);
    void buildFields(const class Statement &st);
    void clearRows();
    void rebuildView(quint32 keepRow);
    bool passesFilter(quint32 row) const;
    void setCurrent(int index);
    quint32 newRow();
    Value storedValue(quint32 row, int field) const;
    std::vector<Value> storedRow(quint32 row) const;
    void storeRow(quint32 row, const std::vector<Value> &values);
    Value lookupValue(const FieldDef &f, const Value &key) const;
    qint64 findStoredRow(int field, const Value &key) const;
    bool lookupSortKeys(const FieldDef &f, const std::vector<quint32> &rows, std::vector<qint64> &out) const;
    std::vector<Value> checkedBuffer() const;
    DatasetWriter &writer();
    std::vector<std::pair<int, Value>> reread(DatasetWriter &w, const std::vector<Value> &row);
    void sortKeys(const SortOrder::Part &part, const std::vector<quint32> &rows, SortOrder::Keys &out) const;
    void bindMaster(class Statement &st) const;
    void followMaster(bool moved);
    void connectLookups();

    void notifyReset();
    void notifyValues();
    void notifyRow(int index);
    void notifyAboutToInsert(int index);
    void notifyAboutToRemove(int index);
    void notifyInserted(int index);
    void notifyRemoved(int index);
    void notifyCurrent();
    void notifyState();

    Connection &m_conn;
    QString m_sql;
    QHash<QString, Value> m_params;  // by lower-cased name

    QList<FieldDef> m_defs;
    QHash<QString, ValueType> m_columnTypes;
    FieldResolver m_resolver;
    QList<FieldDef> m_fields;
    QHash<QString, int> m_fieldIndex; // by lower-cased name
    std::vector<Column> m_columns;    // one per result column

    std::vector<quint32> m_base;      // live rows in query order (new rows where inserted)
    std::vector<quint32> m_view;      // rows shown: filtered, sorted
    int m_cur = -1;
    bool m_bof = true;
    bool m_eof = true;

    State m_state = State::Inactive;
    bool m_modified = false;
    quint32 m_editRow = 0;
    int m_insertedFrom = -1;          // the current index before a new row was added
    std::vector<Value> m_buffer;

    QString m_sortText;
    QList<SortOrder::Part> m_sortParts;
    FilterExpression m_filter;
    bool m_filtered = false;

    bool m_batch = false;
    QHash<quint32, Change> m_changes;
    quint64 m_changeSeq = 0;

    QString m_updateTable;
    QStringList m_keyFields;
    QString m_rereadSql;
    std::unique_ptr<DatasetWriter> m_writer;

    QPointer<Dataset> m_master;
    QString m_masterField;
    QString m_masterParam;
    mutable Value m_boundMasterValue;
    QList<QMetaObject::Connection> m_masterLinks;
    QList<QMetaObject::Connection> m_lookupLinks;

    int m_freeze = 0;
    bool m_suppressed = false;
    quint64 m_generation = 0;         // advances at every open
    quint64 m_dataGeneration = 0;     // advances at every change of stored rows

    struct KeyIndex
    {
        int field = -1;
        quint64 generation = 0;
        QHash<QString, quint32> rows;
        QHash<qint64, quint32> ints;
        bool allIntegers = true;
    };
    mutable KeyIndex m_keyIndex;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Dataset::LocateOptions)

} // namespace kvl
