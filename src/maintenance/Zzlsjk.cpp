// The maintenance dialog: its controls, the parameters, and each operation on
// the data file as a whole. The operations that need KVL.DTA closed release the
// data module for their length and always leave a new one behind.
#include "Zzlsjk.h"

#include "BackupRestore.h"
#include "CancelKey.h"
#include "CompactDataFile.h"
#include "DataModuleCycle.h"
#include "DataPurge.h"
#include "DbErrorText.h"
#include "EnterAsTab.h"
#include "ImportOlderData.h"
#include "MaintenanceError.h"
#include "MaintenanceTexts.h"
#include "Messages.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "ProgramValues.h"
#include "ProgressScope.h"
#include "Schema.h"
#include "WaitCursor.h"
#include "Zlogin.h"
#include "datakvl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kvl {

namespace {

template<typename W, typename... Args>
W *named(const char *name, QWidget *parent, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

QLineEdit *counterEdit(const char *name, QWidget *parent)
{
    auto *e = named<QLineEdit>(name, parent);
    e->setMaxLength(9);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), e));
    return e;
}

QLineEdit *passwordEdit(const char *name, QWidget *parent)
{
    auto *e = named<QLineEdit>(name, parent);
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    e->setMaxLength(50); // PH.pass holds at most 50 characters
    return e;
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = named<QPushButton>(name, parent, caption);
    b->setAutoDefault(false);
    return b;
}

QString shownCounter(const Value &stored)
{
    return QString::number(stored.toInt() + 1);
}

} // namespace

QString TFMzlsjk::dataFilePath()
{
    return QDir(AppDir).filePath(QStringLiteral("KVL.DTA"));
}

TFMzlsjk::TFMzlsjk(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FMzlsjk"));
    setWindowTitle(QStringLiteral("数据库维护"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    FMzlsjk = this;

    GroupBox1 = named<QGroupBox>("GroupBox1", this, QStringLiteral(" 数据备份、恢复、导入及重建 "));
    Bbf = button("Bbf", QStringLiteral(" 数据备份(&B)"), GroupBox1);
    Bhf = button("Bhf", QStringLiteral(" 数据恢复(&R)"), GroupBox1);
    Bsj = button("Bsj", QStringLiteral(" 数据导入(&U)"), GroupBox1);
    xtchj = button("xtchj", QStringLiteral("系统重建(&J)"), GroupBox1);

    GroupBox2 = named<QGroupBox>("GroupBox2", this, QStringLiteral(" 数据整理（为了安全，整理之前请备份您的数据库）"));
    SpeedButton1 = button("SpeedButton1", QStringLiteral("整理数据库(&Z)"), GroupBox2);
    RadioButton1 = named<QRadioButton>("RadioButton1", GroupBox2, QStringLiteral("只做数据库优化"));
    RadioButton2 = named<QRadioButton>("RadioButton2", GroupBox2, QStringLiteral("优化数据库，并清除所有已经结帐的单据"));
    RadioButton3 = named<QRadioButton>("RadioButton3", GroupBox2, QStringLiteral("优化数据库，并清除某段日期内已经结帐的单据"));
    Lrq = named<QLabel>("Lrq", GroupBox2, QStringLiteral("日期"));
    rq = named<QDateEdit>("rq", GroupBox2);
    rq->setCalendarPopup(true);
    rq->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    Lrq->setBuddy(rq);
    rq->setAccessibleName(Lrq->text());

    GroupBox5 = named<QGroupBox>("GroupBox5", this, QStringLiteral(" 系统参数 "));
    Label1 = named<QLabel>("Label1", GroupBox5, QStringLiteral("出货（应收款）单"));
    dh_ysk = counterEdit("dh_ysk", GroupBox5);
    Label2 = named<QLabel>("Label2", GroupBox5, QStringLiteral("进货（应付款）单"));
    dh_yfk = counterEdit("dh_yfk", GroupBox5);
    Label3 = named<QLabel>("Label3", GroupBox5, QStringLiteral("结算单"));
    dh_sk = counterEdit("dh_sk", GroupBox5);
    xtdl = named<QCheckBox>("xtdl", GroupBox5, QStringLiteral("系统登时要求录入系统密码"));
    Lkl = named<QLabel>("Lkl", GroupBox5, QStringLiteral("录入系统密码"));
    kl = passwordEdit("kl", GroupBox5);
    Lkl2 = named<QLabel>("Lkl2", GroupBox5, QStringLiteral("再录一次"));
    kl2 = passwordEdit("kl2", GroupBox5);
    const std::pair<QLabel *, QLineEdit *> buddies[] = {{Label1, dh_ysk}, {Label2, dh_yfk}, {Label3, dh_sk}, {Lkl, kl}, {Lkl2, kl2}};
    for (const auto &[label, edit] : buddies) {
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
    }

    BSave = button("BSave", QStringLiteral("确定(&Yes)"), this);
    RzBitBtn1 = button("RzBitBtn1", QStringLiteral("取消(&Esc)"), this);

    SaveDialog1.mode = FileDialogRequest::Mode::Save;
    SaveDialog1.title = MaintenanceTexts::backupDialogTitle();
    SaveDialog1.filter = MaintenanceTexts::backupFilter();
    SaveDialog1.defaultExt = MaintenanceTexts::backupSuffix();
    OpenDialog1.mode = FileDialogRequest::Mode::Open;
    OpenDialog1.title = MaintenanceTexts::restoreDialogTitle();
    OpenDialog1.filter = MaintenanceTexts::backupFilter();
    OpenDialog1.defaultExt = MaintenanceTexts::backupSuffix();

    buildLayout();
    RadioButton1->setChecked(true);
    RadioButton3Click();
    EnterAsTab::install(this);
    CancelKey::attach(RzBitBtn1, this);

    connect(xtdl, &QCheckBox::toggled, this, [this] { xtdlClick(); });
    for (QRadioButton *r : {RadioButton1, RadioButton2, RadioButton3})
        connect(r, &QRadioButton::toggled, this, [this] { RadioButton3Click(); });
    connect(rq, &QDateEdit::dateChanged, this, [this] { RadioButton3Click(); });
    connect(BSave, &QPushButton::clicked, this, [this] { BSaveClick(); });
    connect(RzBitBtn1, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(Bbf, &QPushButton::clicked, this, [this] { BbfClick(); });
    connect(Bhf, &QPushButton::clicked, this, [this] { BhfClick(); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(xtchj, &QPushButton::clicked, this, [this] { xtchjClick(); });
    connect(Bsj, &QPushButton::clicked, this, [this] { BsjClick(); });

    FormCreate();
}

TFMzlsjk::~TFMzlsjk()
{
    if (FMzlsjk == this)
        FMzlsjk = nullptr;
}

void TFMzlsjk::buildLayout()
{
    auto *files = new QGridLayout(GroupBox1);
    files->setContentsMargins(14, 12, 14, 14);
    files->setHorizontalSpacing(12);
    files->setVerticalSpacing(10);
    files->addWidget(Bbf, 0, 0);
    files->addWidget(Bhf, 0, 1);
    files->addWidget(Bsj, 1, 0);
    files->addWidget(xtchj, 1, 1);

    auto *tidy = new QGridLayout(GroupBox2);
    tidy->setContentsMargins(14, 12, 14, 14);
    tidy->setVerticalSpacing(8);
    tidy->addWidget(RadioButton1, 0, 0, 1, 3);
    tidy->addWidget(RadioButton2, 1, 0, 1, 3);
    tidy->addWidget(RadioButton3, 2, 0, 1, 3);
    auto *day = new QHBoxLayout;
    day->setContentsMargins(22, 0, 0, 0);
    day->setSpacing(8);
    day->addWidget(Lrq);
    day->addWidget(rq);
    day->addStretch(1);
    tidy->addLayout(day, 3, 0, 1, 2);
    tidy->addWidget(SpeedButton1, 3, 2, Qt::AlignRight | Qt::AlignBottom);
    tidy->setColumnStretch(1, 1);

    auto *params = new QGridLayout(GroupBox5);
    params->setContentsMargins(14, 12, 14, 14);
    params->setHorizontalSpacing(10);
    params->setVerticalSpacing(8);
    int row = 0;
    for (const auto &[label, edit] : {std::pair{Label1, dh_ysk}, std::pair{Label2, dh_yfk}, std::pair{Label3, dh_sk}}) {
        params->addWidget(label, row, 0);
        params->addWidget(edit, row++, 1);
    }
    params->setRowMinimumHeight(row++, 6);
    params->addWidget(xtdl, row++, 0, 1, 2);
    params->addWidget(Lkl, row, 0);
    params->addWidget(kl, row++, 1);
    params->addWidget(Lkl2, row, 0);
    params->addWidget(kl2, row++, 1);
    params->setRowStretch(row, 1);
    params->setColumnStretch(1, 1);

    auto *left = new QVBoxLayout;
    left->setSpacing(10);
    left->addWidget(GroupBox1);
    left->addWidget(GroupBox2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BSave);
    buttons->addWidget(RzBitBtn1);

    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    top->addLayout(left, 3);
    top->addWidget(GroupBox5, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    for (QPushButton *b : {Bbf, Bhf, Bsj, xtchj, SpeedButton1, BSave, RzBitBtn1})
        b->setMinimumWidth(112);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// ---- initialisation and parameters ---------------------------------------------------------

bool TFMzlsjk::FormCreate()
{
    SaveDialog1.initialDir = AppDir;
    OpenDialog1.initialDir = AppDir;
    rq->setDate(QDate::currentDate());
    xtdl->setChecked(!LoginPassword.isEmpty());
    kl->setText(LoginPassword);
    kl2->setText(LoginPassword);
    readParameters();
    for (QWidget *w : std::initializer_list<QWidget *>{kl, kl2, Lkl, Lkl2})
        w->setEnabled(!LoginPassword.isEmpty());

    if (!LoginPassword.trimmed().isEmpty()
        && !TFmLogin::ask(LoginPassword, isVisible() ? this : parentWidget(), TFmLogin::maintenanceCaption())) {
        endProgram();
        return false;
    }
    return true;
}

void TFMzlsjk::readParameters()
{
    // A data module that could not connect has said so already; the edits stay
    // empty and a restore can still bring back a sound file.
    if (!DataModKvl || !DbConnected) {
        for (QLineEdit *e : {dh_ysk, dh_yfk, dh_sk})
            e->clear();
        return;
    }
    Dataset &ph = DataModKvl->query(QStringLiteral("SELECT dh_ysk,dh_yfk,dh_sk,UserName,pass from PH"));
    ph.open();
    CompanyName = ph.value(QStringLiteral("UserName")).toString();
    LoginPassword = ph.value(QStringLiteral("pass")).toString();
    dh_ysk->setText(shownCounter(ph.value(QStringLiteral("dh_ysk"))));
    dh_yfk->setText(shownCounter(ph.value(QStringLiteral("dh_yfk"))));
    dh_sk->setText(shownCounter(ph.value(QStringLiteral("dh_sk"))));
    ph.close();
}

void TFMzlsjk::endProgram()
{
    m_endRequested = true;
    if (isVisible())
        done(mrAbort);
    QCoreApplication::quit();
}

void TFMzlsjk::xtdlClick()
{
    const bool on = xtdl->isChecked();
    if (!on) {
        kl->clear();
        kl2->clear();
    }
    for (QWidget *w : std::initializer_list<QWidget *>{kl, kl2, Lkl, Lkl2})
        w->setEnabled(on);
}

void TFMzlsjk::BSaveClick()
{
    if (xtdl->isChecked() && kl->text().trimmed().isEmpty()) {
        Messages::warning(MaintenanceTexts::passwordMissing(), this);
        kl->setFocus();
        return;
    }
    if (kl->text().trimmed() != kl2->text().trimmed()) {
        Messages::warning(MaintenanceTexts::passwordsDiffer(), this);
        kl->setFocus();
        return;
    }
    const QString password = kl->text().trimmed();
    try {
        if (!DataModKvl)
            throw DbError(TDataModKvl::kConnectFailed);
        Dataset &q = DataModKvl->query(QStringLiteral("UPDATE PH SET dh_ysk=:PPP1,dh_yfk=:PPP2,dh_sk=:PPP3,pass=:PPP14"));
        q.setParam(QStringLiteral("PPP1"), Value::integer(dh_ysk->text().toLongLong() - 1));
        q.setParam(QStringLiteral("PPP2"), Value::integer(dh_yfk->text().toLongLong() - 1));
        q.setParam(QStringLiteral("PPP3"), Value::integer(dh_sk->text().toLongLong() - 1));
        q.setParam(QStringLiteral("PPP14"), Value(password));
        q.execSql();
    } catch (const DbError &e) {
        // The dialog stays open with what was typed; the password in use stays too.
        Messages::warning(DbErrorText(e.message(), QString(), e.errors()), this);
        return;
    }
    LoginPassword = password;
    done(mrOk);
}

// ---- backup and restore ----------------------------------------------------------------------

// The file the user chose for a backup or restore; empty when the dialog was
// cancelled or the choice named the data file itself (refused with its message).
QString TFMzlsjk::chooseOtherThanDataFile(FileDialogRequest &request)
{
    const FileDialogResult chosen = FileDialogs::run(request);
    if (!chosen.accepted)
        return QString();
    if (BackupRestore::namesDataFile(chosen.file, dataFilePath())) {
        Messages::warning(MaintenanceTexts::sameNameAsDataFile(), this);
        return QString();
    }
    return chosen.file;
}

void TFMzlsjk::BbfClick()
{
    SaveDialog1.fileName = BackupRestore::defaultBackupFileName(QDate::currentDate());
    SaveDialog1.parent = this;
    const QString file = chooseOtherThanDataFile(SaveDialog1);
    if (file.isEmpty())
        return;
    const QString data = dataFilePath();
    QString message;
    {
        DataModuleCycle cycle;
        try {
            ProgressScope progress(MaintenanceTexts::backupProgress());
            cycle.release();
            const CompactResult compacted = CompactDataFile(data);
            if (compacted.replaced) {
                BackupRestore::backup(data, file);
                message = MaintenanceTexts::backupDone();
            } else {
                message = compacted.message;
            }
        } catch (const MaintenanceError &e) {
            message = e.message().isEmpty() ? MaintenanceTexts::backupFailed() : e.message();
        } catch (const std::exception &) {
            message = MaintenanceTexts::backupFailed();
        }
    }
    if (!message.isEmpty())
        Messages::warning(message, this);
    FormCreate();
}

void TFMzlsjk::BhfClick()
{
    // The import changes the open dialog's settings, so they are set again here.
    OpenDialog1.defaultExt = MaintenanceTexts::backupSuffix();
    OpenDialog1.filter = MaintenanceTexts::backupFilter();
    OpenDialog1.title = MaintenanceTexts::restoreDialogTitle();
    OpenDialog1.fileName.clear();
    OpenDialog1.parent = this;
    const QString file = chooseOtherThanDataFile(OpenDialog1);
    if (file.isEmpty())
        return;
    const QString data = dataFilePath();
    QString message;
    {
        DataModuleCycle cycle;
        try {
            ProgressScope progress(MaintenanceTexts::restoreProgress());
            cycle.release();
            BackupRestore::restore(file, data);
            message = MaintenanceTexts::restoreDone();
        } catch (const MaintenanceError &e) {
            message = e.message().isEmpty() ? MaintenanceTexts::restoreFailed() : e.message();
        } catch (const std::exception &) {
            message = MaintenanceTexts::restoreFailed();
        }
    }
    Messages::warning(message, this);
    // The restored file's password applies at once: FormCreate asks for it.
    FormCreate();
}

// ---- tidy and rebuild ------------------------------------------------------------------------

void TFMzlsjk::RadioButton3Click()
{
    const bool byDate = RadioButton3->isChecked();
    Lrq->setEnabled(byDate);
    rq->setEnabled(byDate);
}

void TFMzlsjk::SpeedButton1Click()
{
    if (Messages::question(MaintenanceTexts::tidyQuestion(), this) != QMessageBox::Yes)
        return;
    const QString data = dataFilePath();
    QString purgeError;
    CompactResult compacted;
    {
        ProgressScope progress(MaintenanceTexts::tidyProgress());
        if ((RadioButton2->isChecked() || RadioButton3->isChecked()) && DataModKvl && DbConnected) {
            try {
                WaitCursor wait;
                if (RadioButton2->isChecked())
                    DataPurge::purgeAllSettled(DataModKvl->ConKVL);
                else
                    DataPurge::purgeSettledUpTo(DataModKvl->ConKVL, rq->date());
            } catch (const DbError &e) {
                purgeError = DbErrorText(e.message(), MaintenanceTexts::tidyContext(), e.errors());
            }
        }
        if (purgeError.isEmpty()) {
            DataModuleCycle cycle;
            cycle.release();
            compacted = CompactDataFile(data);
        }
    }
    // A failed purge changed nothing; the compaction still runs, as it always has.
    if (!purgeError.isEmpty()) {
        Messages::warning(purgeError, this);
        DataModuleCycle cycle;
        cycle.release();
        compacted = CompactDataFile(data);
    }
    if (compacted.replaced)
        Messages::information(MaintenanceTexts::tidyDone(), this);
    else if (!compacted.message.isEmpty())
        Messages::warning(compacted.message, this);
}

void TFMzlsjk::xtchjClick()
{
    if (Messages::question(MaintenanceTexts::rebuildQuestion(), this) != QMessageBox::Yes)
        return;
    QString error;
    CompactResult compacted;
    try {
        WaitCursor wait;
        ProgressScope progress(MaintenanceTexts::rebuildProgress());
        if (!DataModKvl || !DbConnected)
            throw DbError(TDataModKvl::kConnectFailed);
        DataPurge::rebuild(DataModKvl->ConKVL);
        DataModuleCycle cycle;
        cycle.release();
        compacted = CompactDataFile(dataFilePath());
    } catch (const DbError &e) {
        error = DbErrorText(e.message(), MaintenanceTexts::rebuildContext(), e.errors());
    }
    if (!error.isEmpty())
        Messages::warning(error, this);
    else if (compacted.replaced)
        Messages::warning(MaintenanceTexts::rebuildDone(), this);
    else if (!compacted.message.isEmpty())
        Messages::warning(compacted.message, this);
    FormCreate();
}

// ---- import ----------------------------------------------------------------------------------

void TFMzlsjk::BsjClick()
{
    bool empty = false;
    try {
        empty = DataModKvl && DbConnected && ImportOlderData::countersAllZero(DataModKvl->ConKVL);
    } catch (const DbError &) {
    }
    if (!empty) {
        Messages::warning(MaintenanceTexts::importNeedsEmptyFile(), this);
        return;
    }

    OpenDialog1.defaultExt = MaintenanceTexts::importSuffix();
    OpenDialog1.filter = MaintenanceTexts::importFilter();
    OpenDialog1.title = MaintenanceTexts::importDialogTitle();
    OpenDialog1.fileName.clear();
    OpenDialog1.parent = this;
    const FileDialogResult chosen = FileDialogs::run(OpenDialog1);
    if (!chosen.accepted)
        return;

    Connection &older = DataModKvl->ConKVL1;
    older.disconnect();
    try {
        older.connect(chosen.file.trimmed(), Schema::databasePassword());
    } catch (const DbError &) {
        Messages::warning(MaintenanceTexts::importCannotConnect(), this);
        return;
    }

    bool copied = false;
    try {
        WaitCursor wait;
        ProgressScope progress(MaintenanceTexts::importProgress());
        ImportOlderData::copy(older, DataModKvl->ConKVL, [&](const QString &text) { progress.setText(text); });
        copied = true;
    } catch (const DbError &) {
    }
    older.disconnect();

    if (copied) {
        CompactResult compacted;
        {
            DataModuleCycle cycle;
            cycle.release();
            Messages::warning(MaintenanceTexts::importDone(), this);
            compacted = CompactDataFile(dataFilePath());
        }
        if (!compacted.replaced && !compacted.message.isEmpty())
            Messages::warning(compacted.message, this);
    } else {
        Messages::warning(MaintenanceTexts::importFailed(), this);
    }
    // The password came from the older file; FormCreate asks for it now.
    FormCreate();
}

// ---- the side bar's entry --------------------------------------------------------------------

QDialog *CreateMaintenanceDialog(QWidget *mainWindow)
{
    if (FMzlsjk)
        return nullptr;
    auto *dialog = new TFMzlsjk(mainWindow);
    if (dialog->endRequested()) {
        delete dialog;
        return nullptr;
    }
    return dialog;
}

void OpenMaintenanceDialog(QWidget *parent)
{
    QDialog *dialog = CreateMaintenanceDialog(parent);
    if (!dialog)
        return;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    ModalRunner::exec(*dialog);
}

} // namespace kvl
