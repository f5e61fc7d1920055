// Page setup controls; named so tests and layouts find them.
#include "ReportPageSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

QDoubleSpinBox *lengthBox(const QString &name, double min, double max, double value)
{
    auto *box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(min, max);
    box->setDecimals(1);
    box->setSingleStep(1);
    box->setSuffix(QStringLiteral(" 毫米"));
    box->setValue(value);
    return box;
}

} // namespace

ReportPageSetupDialog::ReportPageSetupDialog(const ReportPageSetup &setup, QWidget *parent)
    : QDialog(parent)
    , m_original(setup)
{
    setObjectName(QStringLiteral("ReportPageSetupDialog"));
    setWindowTitle(QStringLiteral("页面设置"));

    m_paper = new QComboBox;
    m_paper->setObjectName(QStringLiteral("paper"));
    for (const char *p : {"A4", "A5", "B5", "Letter"})
        m_paper->addItem(QLatin1String(p), QLatin1String(p));
    m_paper->addItem(QStringLiteral("自定义"), QStringLiteral("custom"));
    m_paper->setCurrentIndex(std::max(0, m_paper->findData(setup.paper)));

    m_orientation = new QComboBox;
    m_orientation->setObjectName(QStringLiteral("orientation"));
    m_orientation->addItem(QStringLiteral("纵向"));
    m_orientation->addItem(QStringLiteral("横向"));
    m_orientation->setCurrentIndex(setup.orientation == ReportPageSetup::Orientation::Portrait ? 0 : 1);

    m_width = lengthBox(QStringLiteral("paperWidth"), 20, 2000, setup.width);
    m_height = lengthBox(QStringLiteral("paperHeight"), 20, 2000, setup.height);
    m_left = lengthBox(QStringLiteral("marginLeft"), 0, 200, setup.margins.left);
    m_top = lengthBox(QStringLiteral("marginTop"), 0, 200, setup.margins.top);
    m_right = lengthBox(QStringLiteral("marginRight"), 0, 200, setup.margins.right);
    m_bottom = lengthBox(QStringLiteral("marginBottom"), 0, 200, setup.margins.bottom);

    auto *paperBox = new QGroupBox(QStringLiteral("纸张"));
    auto *pf = new QFormLayout(paperBox);
    pf->addRow(QStringLiteral("纸张大小："), m_paper);
    pf->addRow(QStringLiteral("宽度："), m_width);
    pf->addRow(QStringLiteral("高度："), m_height);
    pf->addRow(QStringLiteral("方向："), m_orientation);

    auto *marginBox = new QGroupBox(QStringLiteral("页边距"));
    auto *mf = new QFormLayout(marginBox);
    mf->addRow(QStringLiteral("左："), m_left);
    mf->addRow(QStringLiteral("上："), m_top);
    mf->addRow(QStringLiteral("右："), m_right);
    mf->addRow(QStringLiteral("下："), m_bottom);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(paperBox);
    layout->addWidget(marginBox);
    layout->addWidget(buttons);

    connect(m_paper, &QComboBox::currentIndexChanged, this, &ReportPageSetupDialog::paperChanged);
    paperChanged();
}

void ReportPageSetupDialog::paperChanged()
{
    const QString paper = m_paper->currentData().toString();
    double w = 0, h = 0;
    const bool named = ReportPageSetup::paperSize(paper, &w, &h);
    if (named) {
        m_width->setValue(w);
        m_height->setValue(h);
    }
    m_width->setEnabled(!named);
    m_height->setEnabled(!named);
}

ReportPageSetup ReportPageSetupDialog::setup() const
{
    ReportPageSetup s = m_original;
    s.paper = m_paper->currentData().toString();
    s.width = m_width->value();
    s.height = m_height->value();
    s.orientation = m_orientation->currentIndex() == 0 ? ReportPageSetup::Orientation::Portrait
                                                       : ReportPageSetup::Orientation::Landscape;
    s.margins = {m_left->value(), m_top->value(), m_right->value(), m_bottom->value()};
    return s;
}

} // namespace kvl
