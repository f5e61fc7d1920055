// TFMGridColSelect: fixed layout of 304 by 367 pixels, closing with OK (确定)
// or Abort (取消, Esc); the close box gives Cancel.
#include "ZGridColSelect.h"

#include "CancelKey.h"
#include "GlyphIcon.h"
#include "ModalResult.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace kvl {

TFMGridColSelect::TFMGridColSelect(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TFMGridColSelect"));
    setWindowTitle(QStringLiteral("自定义表格"));
    setFixedSize(304, 367);

    Label1 = new QLabel(QStringLiteral("\u3000\u3000为了使表格的显示更加个性化，您可以设定适应自已要求的表格。系统会保存您的设定。"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(8, 6, 288, 44);

    RzCheckList1 = new QListWidget(this);
    RzCheckList1->setObjectName(QStringLiteral("RzCheckList1"));
    RzCheckList1->setAccessibleName(QStringLiteral("自定义表格"));
    RzCheckList1->setGeometry(8, 54, 160, 305);
    // Long captions wrap instead of being cut at the list's edge.
    RzCheckList1->setWordWrap(true);
    RzCheckList1->setTextElideMode(Qt::ElideNone);
    RzCheckList1->installEventFilter(this);
    connect(RzCheckList1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { toggle(RzCheckList1->row(item)); });

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("恢复系统黙认设定"));
    SpeedButton1->setIcon(GlyphIcon::make(QStringLiteral("复"), QColor(0x2E, 0x7D, 0x32), 24));
    SpeedButton1->setIconSize(QSize(24, 24));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(174, 54, 122, 54);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFMGridColSelect::SpeedButton1Click);

    GroupBox1 = new QGroupBox(QStringLiteral("保存列宽"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(174, 112, 122, 100);
    RadioButton1 = new QRadioButton(QStringLiteral("当前表格列宽"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(8, 22, 110, 22);
    RadioButton2 = new QRadioButton(QStringLiteral("系统默认列宽"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(8, 47, 110, 22);
    RadioButton5 = new QRadioButton(QStringLiteral("最佳列宽"), GroupBox1);
    RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
    RadioButton5->setGeometry(8, 72, 110, 22);
    RadioButton1->setChecked(true);

    GroupBox2 = new QGroupBox(QStringLiteral("保存列顺序"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(174, 218, 122, 76);
    RadioButton3 = new QRadioButton(QStringLiteral("当前表格顺序"), GroupBox2);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton3->setGeometry(8, 22, 110, 22);
    RadioButton4 = new QRadioButton(QStringLiteral("系统默认顺序"), GroupBox2);
    RadioButton4->setObjectName(QStringLiteral("RadioButton4"));
    RadioButton4->setGeometry(8, 47, 110, 22);
    RadioButton3->setChecked(true);

    RzBitBtn1 = new QPushButton(QStringLiteral("确定(&Yes)"), this);
    RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    RzBitBtn1->setGeometry(174, 301, 122, 27);
    RzBitBtn1->setAutoDefault(false);
    connect(RzBitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });

    RzBitBtn2 = new QPushButton(QStringLiteral("取消(&Esc)"), this);
    RzBitBtn2->setObjectName(QStringLiteral("RzBitBtn2"));
    RzBitBtn2->setGeometry(174, 332, 122, 27);
    RzBitBtn2->setAutoDefault(false);
    connect(RzBitBtn2, &QPushButton::clicked, this, [this] { done(mrAbort); });
    CancelKey::attach(RzBitBtn2, this);
}

void TFMGridColSelect::setCaptions(const QStringList &captions)
{
    RzCheckList1->clear();
    for (const QString &c : captions) {
        // Not user-checkable: a click anywhere on the item toggles it, once.
        auto *item = new QListWidgetItem(c, RzCheckList1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    if (RzCheckList1->count() > 0)
        RzCheckList1->setCurrentRow(0);
}

void TFMGridColSelect::setAllChecked()
{
    for (int i = 0; i < RzCheckList1->count(); ++i)
        RzCheckList1->item(i)->setCheckState(Qt::Checked);
}

bool TFMGridColSelect::checkCaption(const QString &caption)
{
    for (int i = 0; i < RzCheckList1->count(); ++i)
        if (RzCheckList1->item(i)->text() == caption) {
            RzCheckList1->item(i)->setCheckState(Qt::Checked);
            return true;
        }
    return false;
}

bool TFMGridColSelect::isChecked(int item) const
{
    return RzCheckList1->item(item)->checkState() == Qt::Checked;
}

bool TFMGridColSelect::allChecked() const
{
    for (int i = 0; i < RzCheckList1->count(); ++i)
        if (!isChecked(i))
            return false;
    return true;
}

int TFMGridColSelect::itemCount() const
{
    return RzCheckList1->count();
}

QString TFMGridColSelect::caption(int item) const
{
    return RzCheckList1->item(item)->text();
}

void TFMGridColSelect::SpeedButton1Click()
{
    setAllChecked();
    RadioButton2->setChecked(true);
    RadioButton4->setChecked(true);
}

void TFMGridColSelect::toggle(int item)
{
    if (item < 0 || item >= RzCheckList1->count())
        return;
    QListWidgetItem *it = RzCheckList1->item(item);
    it->setCheckState(it->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

bool TFMGridColSelect::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == RzCheckList1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space) {
            toggle(RzCheckList1->currentRow());
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFMGridColSelect::reject()
{
    // The close box: no choice, as the caller's Cancel code.
    done(mrCancel);
}

} // namespace kvl
