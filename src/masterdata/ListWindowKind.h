// What sets the partner, goods, staff and code-table lists apart, as data: one list window
// class reads its captions, queries, columns, filter choices and pick rules from here.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace kvl {

class Dataset;

struct ListWindowKind
{
    QString objectName;        // TFMdm_dw
    QString caption;           // the Formname caption, the working window's layout key
    std::function<Dataset *()> dataset;
    QString listSql;           // the working window's query: every record, paused ones too
    QString pickTitle;         // 选择往来单位
    QString pickSql;           // only records not paused, in code order
    QStringList columns;       // grid columns in order; the footer sits under the first two
    QString nameField;         // named in the delete question
    QStringList filterItems;   // ComboBox1's items ...
    QStringList filterColumns; // ... and the column each filters
    QString firstPickField;    // the caller's text is looked for at the start of this field,
    QString secondPickField;   // then of this one
    bool closeWithoutChoice = true; // a picker closed without a choice closes the dataset
    bool titleAndFilter = true;     // the title strip and the filter line (not the code tables)
    bool footer = true;
    bool widthCountsHidden = false; // the picker's width counts hidden columns too
    // Runs the edit dialog on the dataset's current or a new record.
    std::function<void(QWidget *owner, bool adding, bool editable)> editDialog;

    static const ListWindowKind &partners();
    static const ListWindowKind &goods();
    static const ListWindowKind &staff();
    // 商品类别, 商品产地 or 计量单位.
    static ListWindowKind codeTable(const QString &table);
};

} // namespace kvl
