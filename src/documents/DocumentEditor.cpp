// Building the document editors' frame, the staff picker and the close codes.
#include "DocumentEditor.h"

#include "AccessibleBuddy.h"
#include "ButtonEdit.h"
#include "CalendarDropDown.h"
#include "CancelKey.h"
#include "CentreOnMainWindow.h"
#include "DataGrid.h"
#include "DataLink.h"
#include "Dataset.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "EditButton.h"
#include "EnterAsTab.h"
#include "ModalResult.h"
#include "PickMode.h"
#include "datakvl.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

// The fixed size of both editors (the business window makes them 720 wide).
constexpr int kWidth = 720;
constexpr int kHeight = 470;

QLabel *boxLabel(const QString &text, QWidget *box, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    AccessibleBuddy::attach(l, box);
    return l;
}

QPushButton *closeButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumWidth(96);
    // Enter belongs to the boxes and the grid, never to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

DocumentEditor::DocumentEditor(const QString &objectName, const QString &n1Caption, const QString &n2Caption,
                               QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(objectName);
    build(n1Caption, n2Caption);
}

DocumentEditor::~DocumentEditor() = default;

void DocumentEditor::build(const QString &n1Caption, const QString &n2Caption)
{
    Formname = new QLabel(this);
    Formname->setObjectName(QStringLiteral("Formname"));
    QFont heading = Formname->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.8);
    heading.setBold(true);
    Formname->setFont(heading);
    m_headingRow = new QHBoxLayout;
    m_headingRow->addStretch(1);
    m_headingRow->addWidget(Formname);
    m_headingRow->addStretch(1);

    zdrq = new DbDateEdit(this);
    zdrq->setObjectName(QStringLiteral("zdrq"));
    zdrq->setFixedWidth(130);
    m_calendar = CalendarDropDown::attach(zdrq);
    connect(m_calendar, &CalendarDropDown::closedUp, this, [this] { focusNextFrom(zdrq); });
    dh = new DbEdit(this);
    dh->setObjectName(QStringLiteral("dh"));
    dh->setFixedWidth(150);

    auto *boxes = new QHBoxLayout;
    boxes->setSpacing(6);
    boxes->addWidget(boxLabel(QStringLiteral("日期"), zdrq, this));
    boxes->addWidget(zdrq);
    boxes->addSpacing(18);
    boxes->addWidget(boxLabel(QStringLiteral("单号"), dh, this));
    boxes->addWidget(dh);
    boxes->addStretch(1);

    Grid = new DataGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setReadOnly(false);
    Grid->setFooterRowCount(1);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(n1Caption);
    N1->setObjectName(QStringLiteral("N1"));
    N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    N2 = PopupMenu1->addAction(n2Caption);
    N2->setObjectName(QStringLiteral("N2"));
    N2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    // The shortcuts work while the grid has the focus, as the menu's keys did.
    for (QAction *a : {N1, N2}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        Grid->addAction(a);
    }
    Grid->setPopupMenu(PopupMenu1);

    yw = new ButtonEdit(this);
    yw->setObjectName(QStringLiteral("yw"));
    yw->setFixedWidth(150);
    yw->setEnterTriggers(true);
    yw->button()->action()->setToolTip(QStringLiteral("F4"));
    connect(yw, &ButtonEdit::buttonClicked, this, &DocumentEditor::ywButtonClick);
    bz = new DbEdit(this);
    bz->setObjectName(QStringLiteral("bz"));

    auto *lower = new QHBoxLayout;
    lower->setSpacing(6);
    lower->addWidget(boxLabel(QStringLiteral("员工姓名"), yw, this));
    lower->addWidget(yw);
    lower->addSpacing(18);
    lower->addWidget(boxLabel(QStringLiteral("备注"), bz, this));
    lower->addWidget(bz, 1);

    Bprint = closeButton("Bprint", QStringLiteral("打印(&Prt)"), this);
    Bsave = closeButton("Bsave", QStringLiteral("保存(&Save)"), this);
    RzBitBtn2 = closeButton("RzBitBtn2", QStringLiteral("取消(&Esc)"), this);
    connect(Bprint, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(Bsave, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(RzBitBtn2, &QPushButton::clicked, this, [this] { done(mrAbort); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Bprint);
    buttons->addWidget(Bsave);
    buttons->addWidget(RzBitBtn2);

    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(12, 10, 12, 10);
    frame->setSpacing(8);
    frame->addLayout(m_headingRow);
    frame->addLayout(boxes);
    frame->addWidget(Grid, 1);
    frame->addLayout(lower);
    frame->addLayout(buttons);

    setTabOrder(zdrq, dh);
    setTabOrder(dh, Grid);
    setTabOrder(Grid, yw);
    setTabOrder(yw, bz);
    setTabOrder(bz, Bprint);
    setTabOrder(Bprint, Bsave);
    setTabOrder(Bsave, RzBitBtn2);

    EnterAsTab::install(this);
    CancelKey::attach(RzBitBtn2, this);
    setFixedSize(kWidth, kHeight);
}

void DocumentEditor::bindDocument(Dataset *header, Dataset *details)
{
    m_header = header;
    m_details = details;
    zdrq->bind(header, QStringLiteral("制单日期"));
    dh->bind(header, QStringLiteral("单号"));
    bz->bind(header, QStringLiteral("备注"));
    Grid->setDataset(details);
}

void DocumentEditor::setHeading(const QString &text, const QColor &colour)
{
    Formname->setText(text);
    QPalette p = Formname->palette();
    p.setColor(QPalette::WindowText, colour.isValid() ? colour : palette().color(QPalette::WindowText));
    Formname->setPalette(p);
}

void DocumentEditor::setStaffName(const QString &name)
{
    yw->setText(name);
}

QString DocumentEditor::staffName() const
{
    return yw->text();
}

void DocumentEditor::setDate(const QDate &day)
{
    zdrq->dataLink()->write(Value::dateTime(day.startOfDay()));
}

QDate DocumentEditor::date() const
{
    zdrq->commit();
    const Value v = zdrq->dataLink()->value();
    return v.isNull() ? QDate() : v.toDateTime().date();
}

bool DocumentEditor::commitBoxes()
{
    return DataLink::updateAll(this);
}

void DocumentEditor::ywButtonClick()
{
    if (PickStaff(yw->text(), this)) {
        const Dataset &staff = DataModKvl->DataDm_zg;
        yw->setText(staff.value(QStringLiteral("员工姓名")).toString());
        m_staffId = staff.value(QStringLiteral("id")).toInt();
        staffChosen(m_staffId);
    }
    focusNextFrom(yw);
}

void DocumentEditor::focusNextFrom(QWidget *from)
{
    from->setFocus(Qt::OtherFocusReason);
    focusNextChild();
}

void DocumentEditor::done(int result)
{
    // A question asked while closing cannot start a second close.
    if (m_closing)
        return;
    m_closing = true;
    m_closeCode = result;
    bool mayClose = false;
    try {
        mayClose = result == mrOk || result == mrYes ? saveDocument() : canLeaveDocument();
    } catch (...) {
        m_closing = false;
        m_closeCode = mrNone;
        throw;
    }
    m_closing = false;
    m_closeCode = mrNone;
    if (mayClose)
        QDialog::done(agreedCloseCode(result));
}

void DocumentEditor::reject()
{
    done(mrCancel);
}

void DocumentEditor::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    CentreOnMainWindow(this);
}

} // namespace kvl
