// TFMzlsjk: the maintenance dialog (数据库维护) with the system parameters,
// backup and restore, tidy and rebuild, and the import of an older data file.
#pragma once

#include "FileDialogs.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kvl {

class TFMzlsjk : public QDialog
{
    Q_OBJECT
public:
    // Builds the controls and runs FormCreate, which asks for the login password
    // when one is set; endRequested() tells whether the user cancelled it.
    explicit TFMzlsjk(QWidget *parent = nullptr);
    ~TFMzlsjk() override;

    // Initialisation, run again after backup, restore, rebuild and import. False
    // when the password question was cancelled: the program is then to end, and a
    // shown dialog has closed with mrAbort.
    bool FormCreate();
    bool endRequested() const { return m_endRequested; }

    void xtdlClick();
    void BSaveClick();
    void BbfClick();
    void BhfClick();
    void SpeedButton1Click();
    void RadioButton3Click();
    void xtchjClick();
    void BsjClick();

    // The data file this dialog works on: AppDir + "KVL.DTA".
    static QString dataFilePath();

    QGroupBox *GroupBox1;
    QPushButton *Bbf;
    QPushButton *Bhf;
    QPushButton *Bsj;
    QPushButton *xtchj;

    QGroupBox *GroupBox2;
    QPushButton *SpeedButton1;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QLabel *Lrq;
    QDateEdit *rq;

    QGroupBox *GroupBox5;
    QLabel *Label1;
    QLineEdit *dh_ysk;
    QLabel *Label2;
    QLineEdit *dh_yfk;
    QLabel *Label3;
    QLineEdit *dh_sk;
    QCheckBox *xtdl;
    QLabel *Lkl;
    QLineEdit *kl;
    QLabel *Lkl2;
    QLineEdit *kl2;

    QPushButton *BSave;
    QPushButton *RzBitBtn1;

    FileDialogRequest SaveDialog1;
    FileDialogRequest OpenDialog1;

private:
    QString chooseOtherThanDataFile(FileDialogRequest &request);
    void buildLayout();
    void endProgram();
    void readParameters();

    bool m_endRequested = false;
};

// The dialog while it is open; the side bar opens it only when this is null.
inline TFMzlsjk *FMzlsjk = nullptr;

// The factory the side bar's item 21 takes (WorkingWindows::setMaintenanceDialog):
// creates the dialog owned by the main window, which asks for the password when
// one is set. Null when the dialog is open already, or when the password question
// was cancelled: the program has then been told to end.
QDialog *CreateMaintenanceDialog(QWidget *mainWindow);

// The same, shown modally until it closes and then freed.
void OpenMaintenanceDialog(QWidget *parent);

} // namespace kvl
