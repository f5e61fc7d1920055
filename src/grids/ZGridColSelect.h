// The layout dialog TFMGridColSelect (自定义表格): which columns a grid shows,
// and whether widths and order are saved as they are or as the defaults.
#pragma once

#include <QDialog>
#include <QStringList>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace kvl {

class TFMGridColSelect : public QDialog
{
    Q_OBJECT

public:
    explicit TFMGridColSelect(QWidget *parent = nullptr);

    // One item per column caption, in the grid's current order, all unticked.
    void setCaptions(const QStringList &captions);
    void setAllChecked();
    // Ticks the first item with this caption; false when none has it.
    bool checkCaption(const QString &caption);
    bool isChecked(int item) const;
    bool allChecked() const;
    int itemCount() const;
    QString caption(int item) const;

    // 恢复系统黙认设定: every item ticked, default widths and default order.
    void SpeedButton1Click();

    QLabel *Label1;
    QListWidget *RzCheckList1;
    QToolButton *SpeedButton1;
    QGroupBox *GroupBox1;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton5;
    QGroupBox *GroupBox2;
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton4;
    QPushButton *RzBitBtn1;
    QPushButton *RzBitBtn2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void toggle(int item);
};

} // namespace kvl
