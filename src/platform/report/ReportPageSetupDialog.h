// The preview's page-setup dialog: paper, orientation and margins of a template.
#pragma once

#include "ReportTemplate.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;

namespace kvl {

class ReportPageSetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReportPageSetupDialog(const ReportPageSetup &setup, QWidget *parent = nullptr);
    // The setup as the controls stand (the print offsets pass through unchanged).
    ReportPageSetup setup() const;

private:
    void paperChanged();

    ReportPageSetup m_original;
    QComboBox *m_paper;
    QComboBox *m_orientation;
    QDoubleSpinBox *m_width;
    QDoubleSpinBox *m_height;
    QDoubleSpinBox *m_left;
    QDoubleSpinBox *m_top;
    QDoubleSpinBox *m_right;
    QDoubleSpinBox *m_bottom;
};

} // namespace kvl
