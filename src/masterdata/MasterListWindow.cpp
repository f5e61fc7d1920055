// The shared list window: building the controls, the commands and the pick mode.
#include "MasterListWindow.h"

#include "ContextMenuMirror.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "DbError.h"
#include "DbErrorText.h"
#include "EnterAsTab.h"
#include "ExportGrid.h"
#include "GridLayout.h"
#include "GridSort.h"
#include "ListFilter.h"
#include "Messages.h"
#include "ModalResult.h"
#include "PickerPlacement.h"
#include "ToolBarButton.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

MasterListWindow::MasterListWindow(ListWindowKind kind, QWidget *parent)
    : QDialog(parent), m_kind(std::move(kind))
{
    setObjectName(m_kind.objectName);
    setWindowTitle(m_kind.titleAndFilter ? m_kind.caption : m_kind.pickTitle);
    build();
    // FormCreate: a filter left behind by another window must not narrow this list.
    if (Dataset *ds = dataset()) {
        ds->setFilterText(QString());
        ds->setFiltered(false);
    }
}

MasterListWindow::~MasterListWindow() = default;

Dataset *MasterListWindow::dataset() const
{
    return m_kind.dataset ? m_kind.dataset() : nullptr;
}

bool MasterListWindow::isPicker() const
{
    return windowTitle().contains(QStringLiteral("选择"));
}

QToolButton *MasterListWindow::toolButton(const char *name, const QString &caption, const QString &hint)
{
    return ToolBarButton(this, QString::fromLatin1(name), caption, hint);
}

QWidget *MasterListWindow::separator(const char *name)
{
    return ToolBarSeparator(this, QString::fromLatin1(name));
}

void MasterListWindow::build()
{
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);

    if (m_kind.titleAndFilter) {
        Panel2 = new QWidget(this);
        Panel2->setObjectName(QStringLiteral("Panel2"));
        Panel2->setFixedHeight(28);
        Panel2->setAutoFillBackground(true);
        auto *strip = new QHBoxLayout(Panel2);
        strip->setContentsMargins(6, 0, 6, 0);
        Formname = new QLabel(m_kind.caption, Panel2);
        Formname->setObjectName(QStringLiteral("Formname"));
        QFont f(QStringLiteral("黑体"));
        f.setPixelSize(25);
        Formname->setFont(f);
        strip->addWidget(Formname);
        strip->addStretch();
        top->addWidget(Panel2);
    }

    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto *p3 = new QVBoxLayout(Panel3);
    p3->setContentsMargins(2, 2, 2, 2);
    p3->setSpacing(2);
    auto *bar = new QHBoxLayout;
    bar->setSpacing(1);
    BSelect = toolButton("BSelect", QStringLiteral("选定"), QStringLiteral("选定当前的记录 Enter"));
    ToolbarSep971 = separator("ToolbarSep971");
    Badd = toolButton("Badd", QStringLiteral("添加"), QStringLiteral("添加新的记录 Ctrl+Ins"));
    Bedit = toolButton("Bedit", QStringLiteral("修改"), QStringLiteral("修改当前的记录 Ctrl+E"));
    Bcut = toolButton("Bcut", QStringLiteral("删除"), QStringLiteral("删除当前的记录 Ctrl+Del"));
    ToolbarSep972 = separator("ToolbarSep972");
    Bsaveto = toolButton("Bsaveto", QStringLiteral("导出"), QStringLiteral("将表格中的数据导出为其它文件 Ctrl+S"));
    Bzselcol = toolButton("Bzselcol", QStringLiteral("表格"), QStringLiteral("表格设定 Ctrl+G"));
    ToolbarSep973 = separator("ToolbarSep973");
    BReturn = toolButton("BReturn", QStringLiteral("返回"), QStringLiteral("Esc"));
    for (QWidget *w : {static_cast<QWidget *>(BSelect), ToolbarSep971, static_cast<QWidget *>(Badd),
                       static_cast<QWidget *>(Bedit), static_cast<QWidget *>(Bcut), ToolbarSep972,
                       static_cast<QWidget *>(Bsaveto), static_cast<QWidget *>(Bzselcol), ToolbarSep973,
                       static_cast<QWidget *>(BReturn)})
        bar->addWidget(w);
    bar->addStretch();
    p3->addLayout(bar);
    BSelect->setVisible(false);
    BSelect->setEnabled(false);
    ToolbarSep971->setVisible(false);

    if (m_kind.titleAndFilter) {
        Panel3->setFixedHeight(70);
        auto *line = new QHBoxLayout;
        ComboBox1 = new QComboBox(Panel3);
        ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
        ComboBox1->setEditable(true);
        ComboBox1->setInsertPolicy(QComboBox::NoInsert);
        ComboBox1->addItems(m_kind.filterItems);
        ComboBox1->setCurrentIndex(0);
        gltj = new QLineEdit(Panel3);
        gltj->setObjectName(QStringLiteral("gltj"));
        line->addWidget(ComboBox1);
        line->addWidget(gltj, 1);
        p3->addLayout(line);
        EnterAsTab::install(Panel3);
        connect(gltj, &QLineEdit::textChanged, this, &MasterListWindow::gltjChange);
        connect(ComboBox1, &QComboBox::currentIndexChanged, this, &MasterListWindow::gltjChange);
    }
    top->addWidget(Panel3);

    Grid = new DataGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setReadOnly(true);
    for (const QString &c : m_kind.columns)
        Grid->addColumn(c);
    if (m_kind.footer) {
        Grid->setFooterRowCount(1);
        Grid->setFooterColour(palette().color(QPalette::ToolTipBase));
        Grid->setFooter(0, FooterKind::Text, QStringLiteral("合计"));
        Grid->setFooter(1, FooterKind::Count);
    }
    Grid->setDataset(dataset());
    top->addWidget(Grid, 1);
    connect(Grid, &DataGrid::rowDoubleClicked, this, &MasterListWindow::GridDblClick);
    connect(Grid, &DataGrid::sortMarkingChanged, this, &MasterListWindow::GridSortMarkingChanged);
    // Enter in the grid is NBSelect's shortcut; elsewhere Enter moves to the next control.
    connect(Grid, &DataGrid::enterPressed, this, [this] {
        if (BSelect->isVisible() && BSelect->isEnabled())
            BSelect->click();
    });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_mirror = new ContextMenuMirror(PopupMenu1, this);
    m_mirror->mirror(BSelect, QKeySequence(Qt::Key_Return))->setShortcutContext(Qt::WidgetShortcut);
    m_mirror->addSeparator(QStringLiteral("N11"), ToolbarSep971);
    m_mirror->mirror(Badd, QKeySequence(Qt::CTRL | Qt::Key_Insert));
    m_mirror->mirror(Bedit, QKeySequence(Qt::CTRL | Qt::Key_E));
    m_mirror->mirror(Bcut, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_mirror->addSeparator(QStringLiteral("N12"), ToolbarSep972);
    m_mirror->mirror(Bsaveto, QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mirror->mirror(Bzselcol, QKeySequence(Qt::CTRL | Qt::Key_G));
    m_mirror->addSeparator(QStringLiteral("N13"), ToolbarSep973);
    m_mirror->mirror(BReturn, QKeySequence(Qt::Key_Escape));
    Grid->setPopupMenu(PopupMenu1);

    connect(BSelect, &QToolButton::clicked, this, &MasterListWindow::BSelectClick);
    connect(Badd, &QToolButton::clicked, this, &MasterListWindow::BaddClick);
    connect(Bedit, &QToolButton::clicked, this, &MasterListWindow::BeditClick);
    connect(Bcut, &QToolButton::clicked, this, &MasterListWindow::BcutClick);
    connect(Bsaveto, &QToolButton::clicked, this, &MasterListWindow::BsavetoClick);
    connect(Bzselcol, &QToolButton::clicked, this, &MasterListWindow::BzselcolClick);
    connect(BReturn, &QToolButton::clicked, this, &MasterListWindow::BreturnClick);
}

QString MasterListWindow::layoutKey() const
{
    return Formname ? Formname->text() : windowTitle();
}

void MasterListWindow::openAsWorkingWindow()
{
    if (ComboBox1)
        ComboBox1->setCurrentIndex(0);
    // A picker may have left the shared dataset on its query (records not paused); the
    // working window lists every record, so a paused one can be found and resumed.
    if (Dataset *ds = dataset()) {
        ds->close();
        ds->setSql(m_kind.listSql);
        ds->open();
    }
    FormActivate();
}

int MasterListWindow::pickerWidth(int columnWidths)
{
    return PickerWidth(columnWidths);
}

int MasterListWindow::pickerWidth() const
{
    int sum = 0;
    if (m_kind.widthCountsHidden) {
        for (int c = 0; c < Grid->gridColumnCount(); ++c)
            sum += Grid->columnWidthOf(c);
    } else {
        for (int c : Grid->visibleColumns())
            sum += Grid->columnWidthOf(c);
    }
    return pickerWidth(sum);
}

void MasterListWindow::setUpPickMode()
{
    setWindowTitle(m_kind.pickTitle);
    setSizeGripEnabled(true);
    if (Formname)
        Formname->setText(m_kind.pickTitle);
    if (ComboBox1)
        ComboBox1->setCurrentIndex(0);
    Grid->setFooterRowCount(0);
    // A picker keeps a layout of its own, apart from the working window's.
    LoadGridLayout(m_kind.pickTitle, *Grid);
    if (Panel2)
        Panel2->hide();
    ToolbarSep971->show();
    BSelect->show();
    BSelect->setEnabled(true);
    PlacePicker(*this, pickerWidth());
}

void MasterListWindow::openPickQuery(const QString &text, bool anyCase)
{
    Dataset *ds = dataset();
    if (!ds)
        return;
    ds->close();
    ds->setSql(m_kind.pickSql);
    ds->open();
    const Dataset::LocateOptions how = anyCase ? Dataset::PartialKey | Dataset::CaseInsensitive
                                               : Dataset::LocateOptions(Dataset::PartialKey);
    if (text.isEmpty() || (!ds->locate(m_kind.firstPickField, Value(text), how)
                           && !ds->locate(m_kind.secondPickField, Value(text), how)))
        ds->first();
}

void MasterListWindow::preparePicker(const QString &text)
{
    setUpPickMode();
    openPickQuery(text);
    FormActivate();
}

void MasterListWindow::FormActivate()
{
    const Dataset *ds = dataset();
    const bool empty = !ds || !ds->isActive() || ds->isEmpty();
    if (empty) {
        BSelect->setEnabled(false);
        Bcut->setEnabled(false);
        Bedit->setEnabled(false);
        Bsaveto->setEnabled(false);
    } else {
        BSelect->setEnabled(isPicker());
        Bcut->setEnabled(true);
        Bedit->setEnabled(true);
        Bsaveto->setEnabled(true);
    }
    m_mirror->sync();
}

void MasterListWindow::gltjChange()
{
    Dataset *ds = dataset();
    if (!ds || !gltj)
        return;
    const QString text = gltj->text();
    // An item index only while the text is one of the items: typed over, the column is
    // unknown and the previous expression stays.
    const int i = ComboBox1->findText(ComboBox1->currentText());
    try {
        if (text.trimmed().isEmpty())
            ListFilter::apply(*ds, QString(), QString());
        else if (i >= 0 && i < m_kind.filterColumns.size())
            ListFilter::apply(*ds, m_kind.filterColumns[i], text);
        else if (!ds->filterText().isEmpty())
            ds->setFiltered(true);
    } catch (const DbError &) {
        // The filter line never raises: the list stays as it was.
    }
    FormActivate();
}

void MasterListWindow::BaddClick()
{
    if (!dataset())
        return;
    m_kind.editDialog(this, true, true);
    FormActivate();
}

void MasterListWindow::BeditClick()
{
    const Dataset *ds = dataset();
    if (!ds || !ds->isActive() || ds->isEmpty())
        return;
    m_kind.editDialog(this, false, Bedit->isEnabled());
}

void MasterListWindow::BcutClick()
{
    Dataset *ds = dataset();
    if (!ds || !ds->isActive() || ds->isEmpty())
        return;
    try {
        if (ds->recordCount() < 2)
            ds->first();
        const QString question = QStringLiteral("删除：") + ds->value(m_kind.nameField).toString()
                                 + QStringLiteral("\r\r记录删除后不能恢复，删除吗？");
        if (Messages::question(question, this) == QMessageBox::Yes)
            ds->deleteRecord();
    } catch (const DbError &e) {
        Messages::warning(DbErrorText(e.message(), QStringLiteral("基础资料")), this);
    }
    FormActivate();
}

void MasterListWindow::BsavetoClick()
{
    ExportGrid(layoutKey(), *Grid);
}

void MasterListWindow::BzselcolClick()
{
    EditGridLayout(layoutKey(), *Grid);
}

void MasterListWindow::GridSortMarkingChanged()
{
    ApplyGridSort(*Grid);
}

void MasterListWindow::BSelectClick()
{
    m_chosen = true;
    done(mrOk);
}

void MasterListWindow::BreturnClick()
{
    m_chosen = false;
    if (isWindow())
        done(mrAbort);
    else
        close();
}

void MasterListWindow::GridDblClick()
{
    if (isPicker()) {
        m_chosen = true;
        done(mrOk);
    } else {
        BeditClick();
    }
}

void MasterListWindow::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    if (!m_chosen && m_kind.closeWithoutChoice)
        if (Dataset *ds = dataset())
            ds->close();
}

void MasterListWindow::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void MasterListWindow::closeEvent(QCloseEvent *e)
{
    // A working window inside a hidden panel closes without passing through done().
    FormClose();
    QDialog::closeEvent(e);
}

void MasterListWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    m_closed = false;
    Grid->setFocus(Qt::OtherFocusReason);
}

} // namespace kvl
