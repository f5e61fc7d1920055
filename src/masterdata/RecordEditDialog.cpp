// Building the dialog from its form, and the save, leave and move routines every
// master-data dialog shares.
#include "RecordEditDialog.h"

#include "AccessibleBuddy.h"
#include "CancelKey.h"
#include "CodeTablePicker.h"
#include "Connection.h"
#include "DataLink.h"
#include "Dataset.h"
#include "DbButtonEdit.h"
#include "DbCheckBox.h"
#include "DbEdit.h"
#include "DbErrorText.h"
#include "DbMemo.h"
#include "DbNumericEdit.h"
#include "EnterAsTab.h"
#include "Messages.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "WaitCursor.h"
#include "ZPY.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace kvl {

namespace {

const QString kContext = QStringLiteral("基础资料");

QToolButton *speedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Speed buttons take no focus, so the box being typed in keeps it (and its text).
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void bindControl(QWidget *w, Dataset *d, const QString &field)
{
    if (auto *e = qobject_cast<DbLineEdit *>(w))
        e->bind(d, field);
    else if (auto *m = qobject_cast<DbMemo *>(w))
        m->bind(d, field);
    else if (auto *c = qobject_cast<DbCheckBox *>(w))
        c->bind(d, field);
}

} // namespace

RecordEditDialog::RecordEditDialog(RecordEditForm form, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , m_form(std::move(form))
{
    setObjectName(m_form.objectName);
    setWindowTitle(m_form.title);
    build();
    if (m_form.dataset)
        bindRecord(m_form.dataset());
}

RecordEditDialog::~RecordEditDialog()
{
    // A dialog that goes away without being closed leaves no record half edited behind.
    if (editing())
        m_dataset->cancel();
}

void RecordEditDialog::build()
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(1, 1);
    QHBoxLayout *line = nullptr;
    QList<QHBoxLayout *> lines;
    int row = -1;
    const QPalette tipPalette = QToolTip::palette();

    for (const EditRow &r : std::as_const(m_form.rows)) {
        QWidget *w = nullptr;
        switch (r.kind) {
        case EditRow::Text:
            w = new DbEdit(this);
            break;
        case EditRow::Pick: {
            auto *b = new DbButtonEdit(this);
            b->setToolTip(QStringLiteral("F4"));
            b->setEnterTriggers(true);
            connect(b, &DbButtonEdit::buttonClicked, this, [this, b] { pickButtonClicked(b); });
            w = b;
            break;
        }
        case EditRow::Numeric: {
            auto *n = new DbNumericEdit(this);
            if (!r.displayFormat.isEmpty())
                n->setDisplayFormat(r.displayFormat);
            w = n;
            break;
        }
        case EditRow::Check:
            w = new DbCheckBox(r.label, this);
            break;
        case EditRow::Memo: {
            auto *m = new DbMemo(this);
            m->setMaxLength(1000);
            m->setEnterMovesFocus(true);
            m->setFixedHeight(72);
            w = m;
            break;
        }
        }
        w->setObjectName(r.objectName);
        if (r.highlighted) {
            QPalette p = w->palette();
            p.setColor(QPalette::Base, tipPalette.color(QPalette::ToolTipBase));
            p.setColor(QPalette::Text, tipPalette.color(QPalette::ToolTipText));
            w->setPalette(p);
        }
        if (r.width > 0)
            w->setFixedWidth(r.width);
        m_controls.insert(r.objectName, w);
        m_order << w;

        if (r.besidePrevious && line) {
            line->addWidget(w, r.width > 0 ? 0 : 1);
            continue;
        }
        ++row;
        if (r.kind != EditRow::Check) {
            auto *label = new QLabel(r.label, this);
            if (!r.labelName.isEmpty())
                label->setObjectName(r.labelName);
            label->setToolTip(r.labelHint);
            label->setAlignment(r.kind == EditRow::Memo ? Qt::AlignRight | Qt::AlignTop : Qt::AlignRight | Qt::AlignVCenter);
            AccessibleBuddy::attach(label, w);
            m_labels.insert(r.objectName, label);
            grid->addWidget(label, row, 0);
        }
        line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(w, r.width > 0 ? 0 : 1);
        grid->addLayout(line, row, 1);

        if (!m_form.pinyinCaption.isEmpty() && r.field == m_form.codeField && !SpeedButton3) {
            SpeedButton3 = speedButton(QStringLiteral("SpeedButton3"), m_form.pinyinCaption, this);
            connect(SpeedButton3, &QToolButton::clicked, this, &RecordEditDialog::SpeedButton3Click);
            line->addWidget(SpeedButton3);
        }
        lines << line;
    }
    // Rows of fixed-width boxes keep them at the left; a stretching box fills its row.
    for (QHBoxLayout *l : std::as_const(lines)) {
        bool stretches = false;
        for (int k = 0; k < l->count(); ++k)
            stretches = stretches || l->stretch(k) > 0;
        if (!stretches)
            l->addStretch(1);
    }

    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("上一条记录(&U)"), this);
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("下一条记录(&M)"), this);
    for (QToolButton *b : {SpeedButton1, SpeedButton2}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(120);
    }
    connect(SpeedButton1, &QToolButton::clicked, this, &RecordEditDialog::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &RecordEditDialog::SpeedButton2Click);

    RzBitBtn1 = new QPushButton(QStringLiteral("确定(&Yes)"), this);
    RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    RzBitBtn2 = new QPushButton(QStringLiteral("取消(&Esc)"), this);
    RzBitBtn2->setObjectName(QStringLiteral("RzBitBtn2"));
    for (QPushButton *b : {RzBitBtn1, RzBitBtn2})
        b->setMinimumWidth(88);
    connect(RzBitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(RzBitBtn2, &QPushButton::clicked, this, [this] { done(mrAbort); });
    m_order << RzBitBtn1 << RzBitBtn2;

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);
    buttons->addStretch(1);
    buttons->addWidget(RzBitBtn1);
    buttons->addWidget(RzBitBtn2);

    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(14, 14, 14, 12);
    frame->setSpacing(12);
    frame->addLayout(grid);
    frame->addLayout(buttons);
    // A fixed border: the dialog is as large as its contents need.
    frame->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 1; i < m_order.size(); ++i)
        setTabOrder(m_order[i - 1], m_order[i]);

    EnterAsTab::install(this);
    CancelKey::attach(RzBitBtn2, this);
}

QString RecordEditDialog::trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= ' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= ' ')
        --e;
    return s.mid(b, e - b);
}

void RecordEditDialog::bindRecord(Dataset *dataset)
{
    m_dataset = dataset;
    for (const EditRow &r : std::as_const(m_form.rows))
        bindControl(m_controls.value(r.objectName), dataset, r.field);
}

void RecordEditDialog::setRowField(const QString &objectName, const QString &field)
{
    for (EditRow &r : m_form.rows)
        if (r.objectName == objectName)
            r.field = field;
}

QWidget *RecordEditDialog::controlFor(const QString &field) const
{
    for (const EditRow &r : std::as_const(m_form.rows))
        if (r.field == field)
            return control(r.objectName);
    return nullptr;
}

QWidget *RecordEditDialog::firstControl() const
{
    return m_order.isEmpty() ? nullptr : m_order.first();
}

bool RecordEditDialog::editing() const
{
    return m_dataset && (m_dataset->state() == Dataset::State::Edit || m_dataset->state() == Dataset::State::Insert);
}

void RecordEditDialog::setDataControlsEnabled(bool enabled)
{
    for (QWidget *w : std::as_const(m_order))
        if (w != RzBitBtn1 && w != RzBitBtn2)
            w->setEnabled(enabled);
    if (SpeedButton3)
        SpeedButton3->setEnabled(enabled);
}

void RecordEditDialog::startAdding()
{
    m_dataset->append();
    SpeedButton1->setEnabled(false);
    SpeedButton2->setEnabled(false);
}

bool RecordEditDialog::startChanging(bool editable)
{
    if (!m_dataset || !m_dataset->isActive() || m_dataset->isEmpty())
        return false;
    m_dataset->edit();
    setDataControlsEnabled(editable);
    return true;
}

int RecordEditDialog::runAdding()
{
    startAdding();
    return ModalRunner::exec(*this);
}

int RecordEditDialog::runChanging(bool editable)
{
    if (!startChanging(editable))
        return mrNone;
    return ModalRunner::exec(*this);
}

void RecordEditDialog::focusFirst()
{
    if (QWidget *w = firstControl())
        w->setFocus(Qt::OtherFocusReason);
}

void RecordEditDialog::trimFields()
{
    for (const QString &f : std::as_const(m_form.trimmed)) {
        const Value v = m_dataset->value(f);
        if (v.type() != ValueType::Text)
            continue;
        const QString t = trimBlanks(v.toString());
        if (t != v.toString())
            m_dataset->setValue(f, Value(t));
    }
}

bool RecordEditDialog::SaveRecord()
{
    if (!m_dataset)
        return true;
    // Boxes with text not yet written (the one typed in, or one left for this button) first.
    if (!DataLink::updateAll(this))
        return false;
    Dataset &ds = *m_dataset;
    if (!ds.modified()) {
        if (editing())
            ds.cancel();
        return true;
    }
    Connection &conn = ds.connection();
    // The error list describes this save's failure only, not an earlier one.
    conn.clearErrors();
    if (ds.state() == Dataset::State::Insert) {
        try {
            WaitCursor wait;
            trimFields();
            Transaction tr(conn);
            if (m_form.counter)
                ds.setValue(QStringLiteral("id"), Value::integer(AllocateId(conn, *m_form.counter)));
            ds.post();
            tr.commit();
        } catch (const DbError &e) {
            // The transaction is rolled back: PH keeps its counter, the record stays as typed.
            Messages::warning(DbErrorText(e.message(), kContext), this);
            focusFirst();
            return false;
        }
        // The series goes on with the next empty record.
        ds.append();
        focusFirst();
        return false;
    }
    try {
        trimFields();
        ds.post();
    } catch (const DbError &e) {
        Messages::warning(DbErrorText(e.message(), kContext), this);
        if (m_form.focusFirstAfterRefusedChange)
            focusFirst();
        return false;
    }
    return true;
}

bool RecordEditDialog::CanLeaveRecord()
{
    if (!m_dataset)
        return true;
    if (!DataLink::updateAll(this))
        return false;
    Dataset &ds = *m_dataset;
    if (ds.state() == Dataset::State::Insert && ds.modified()) {
        if (Messages::question(QStringLiteral("正在添加记录，确定放弃吗？"), this) != QMessageBox::Yes)
            return false;
        ds.cancel();
        return true;
    }
    if (ds.modified()) {
        switch (Messages::questionWithCancel(QStringLiteral("当前数据已经更改，保存吗？"), this)) {
        case QMessageBox::Yes:
            return SaveRecord();
        case QMessageBox::No:
            ds.cancel();
            return true;
        default:
            return false;
        }
    }
    if (editing())
        ds.cancel();
    return true;
}

void RecordEditDialog::moveTo(bool previous)
{
    if (!m_dataset || !m_dataset->isActive())
        return;
    if (CanLeaveRecord()) {
        if (previous)
            m_dataset->prior();
        else
            m_dataset->next();
    }
    if (!m_dataset->isEmpty())
        m_dataset->edit();
    updateMoveButtons();
}

void RecordEditDialog::updateMoveButtons()
{
    SpeedButton1->setEnabled(m_dataset->recNo() > 1);
    SpeedButton2->setEnabled(m_dataset->recNo() < m_dataset->recordCount());
}

void RecordEditDialog::SpeedButton1Click()
{
    moveTo(true);
}

void RecordEditDialog::SpeedButton2Click()
{
    moveTo(false);
}

void RecordEditDialog::SpeedButton3Click()
{
    auto *name = qobject_cast<QLineEdit *>(controlFor(m_form.nameField));
    auto *code = qobject_cast<DbLineEdit *>(controlFor(m_form.codeField));
    if (!name || !code)
        return;
    // Written whole, also when longer than the code field: saving then says so.
    code->dataLink()->write(Value(GetPinyinCode(trimBlanks(name->text()), pyKeepOther)));
}

void RecordEditDialog::pickButtonClicked(DbButtonEdit *edit)
{
    const QString field = edit->dataLink()->fieldName();
    if (const std::optional<QString> chosen = PickCodeTableValue(field, edit->text(), this))
        edit->dataLink()->write(Value(*chosen));
    // Chosen or not, the user goes on with the next box.
    edit->setFocus(Qt::OtherFocusReason);
    focusNextChild();
}

void RecordEditDialog::done(int result)
{
    const bool mayClose = result == mrOk ? SaveRecord() : CanLeaveRecord();
    if (mayClose)
        QDialog::done(result);
}

void RecordEditDialog::reject()
{
    done(mrCancel);
}

void RecordEditDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // Centred on the window the user works in (the main window), not on the screen.
    QWidget *anchor = parentWidget() ? parentWidget()->window() : nullptr;
    if (!anchor)
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && !qobject_cast<QDialog *>(w) && w->isWindow()) {
                anchor = w;
                break;
            }
    if (anchor && anchor != this)
        move(anchor->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    if (QWidget *w = firstControl(); w && !focusWidget())
        w->setFocus(Qt::OtherFocusReason);
}

} // namespace kvl
