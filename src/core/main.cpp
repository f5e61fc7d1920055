// The main window: its controls, creation and closing steps, and the side-bar dispatcher.
#include "main.h"

#include "AppEvents.h"
#include "BackgroundImage.h"
#include "ClockPane.h"
#include "FileDialogs.h"
#include "KeyStatePane.h"
#include "LinkPane.h"
#include "MainWindowIcons.h"
#include "Messages.h"
#include "PhCounters.h"
#include "ProgramHelp.h"
#include "ProgramReportVariables.h"
#include "ProgramValues.h"
#include "SideBar.h"
#include "SizePanel.h"
#include "StatusPane.h"
#include "WaitCursor.h"
#include "WorkingWindows.h"
#include "datakvl.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QStatusBar>

namespace kvl {

namespace {
enum ItemTag {
    TagHelp = 87,
    TagMaintenance = 21,
    TagBackground = 22,
    TagExit = 88,
};
} // namespace

QString TFMmain::caption()
{
    return Messages::title();
}

QString TFMmain::exitQuestion()
{
    return QStringLiteral("现在退出系统吗?");
}

QString TFMmain::webLinkHint()
{
    return QStringLiteral("欢迎访问我们的网站，下载本系统的最新版本！");
}

TFMmain::TFMmain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FMmain"));
    // Freed when it closes, which ends the program.
    setAttribute(Qt::WA_DeleteOnClose);
    FMmain = this;
    buildSideBar();
    buildClientPanel();
    RzSizePanel1 = new SizePanel(dxSideBar1, Panel2, 98, this);
    RzSizePanel1->setObjectName(QStringLiteral("RzSizePanel1"));
    setCentralWidget(RzSizePanel1);
    buildStatusBar();

    MainMenu1 = new QMenu(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Nhelp = MainMenu1->addAction(QStringLiteral("帮助"));
    Nhelp->setObjectName(QStringLiteral("Nhelp"));
    Nhelp->setShortcut(QKeySequence(Qt::Key_F1));
    Nhelp->setShortcutContext(Qt::WindowShortcut);
    // The menu itself is never shown; the window carries the action so F1 works everywhere in it.
    addAction(Nhelp);
    connect(Nhelp, &QAction::triggered, this, &TFMmain::NhelpClick);

    connect(AppEvents::instance(), &AppEvents::dataModuleReplaced, this, &TFMmain::showCompanyName);
    FormCreate();
}

TFMmain::~TFMmain()
{
    if (FMmain == this)
        FMmain = nullptr;
}

void TFMmain::buildSideBar()
{
    dxSideBar1 = new SideBar(this);
    dxSideBar1->setObjectName(QStringLiteral("dxSideBar1"));
    dxSideBar1->setGradient(QColor(192, 192, 192), QColor(255, 128, 0));
    dxSideBar1->setItemTextColor(Qt::white);
    struct Item
    {
        const char *caption;
        int tag;
    };
    const struct
    {
        const char *caption;
        std::initializer_list<Item> items;
    } groups[] = {
        {"收付款管理", {{"办理业务", 0}, {"未结帐统计", 1}, {"进出商品统计", 2}}},
        {"基础资料", {{"往来单位", 10}, {"商品资料", 11}, {"公司员工", 12}}},
        {"系统管理", {{"数据库维护", 21}, {"设定背景图片", 22}, {"帮助", 87}, {"退出本系统", 88}}},
    };
    for (const auto &g : groups) {
        const int group = dxSideBar1->addGroup(QString::fromUtf8(g.caption));
        for (const Item &i : g.items)
            dxSideBar1->addItem(group, QString::fromUtf8(i.caption), i.tag, MainWindowIcons::sideBarItem(i.tag));
    }
    connect(dxSideBar1, &SideBar::itemClicked, this, &TFMmain::dxSideBar1ItemClick);
}

void TFMmain::buildClientPanel()
{
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *grid = new QGridLayout(Panel2);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    Image1 = new QLabel(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    // The picture must not push the window to its own size.
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Image1->setMinimumSize(1, 1);
    // Until a picture is chosen the panel shows a quiet shade rather than a bare grey field.
    QLinearGradient shade(0, 0, 0, 1);
    shade.setCoordinateMode(QGradient::ObjectMode);
    shade.setColorAt(0, QColor(236, 240, 246));
    shade.setColorAt(1, QColor(198, 210, 226));
    QPalette pal = Image1->palette();
    pal.setBrush(QPalette::Window, QBrush(shade));
    Image1->setPalette(pal);
    Image1->setAutoFillBackground(true);

    Bevel1 = new QFrame(Panel2);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setToolTip(QStringLiteral("请设定背景图片！"));
    Bevel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    grid->addWidget(Image1, 0, 0);
    grid->addWidget(Bevel1, 0, 0);
}

void TFMmain::buildStatusBar()
{
    RzStatusBar1 = new QStatusBar(this);
    RzStatusBar1->setObjectName(QStringLiteral("RzStatusBar1"));
    RzStatusBar1->setFixedHeight(21);
    RzStatusBar1->setSizeGripEnabled(false);
    setStatusBar(RzStatusBar1);

    RzClockStatus = new ClockPane(RzStatusBar1, 124);
    RzClockStatus->setObjectName(QStringLiteral("RzClockStatus"));
    RzStatusPane1 = new StatusPane(RzStatusBar1);
    RzStatusPane1->setObjectName(QStringLiteral("RzStatusPane1"));
    RzGlyphStatus1 = new LinkPane(MainWindowIcons::webLink(), webLinkHint(), RzStatusBar1, 23);
    RzGlyphStatus1->setObjectName(QStringLiteral("RzGlyphStatus1"));
    RzKeyStatus1 = new KeyStatePane(LockKey::NumLock, QStringLiteral("数字"), RzStatusBar1);
    RzKeyStatus1->setObjectName(QStringLiteral("RzKeyStatus1"));
    RzKeyStatus = new KeyStatePane(LockKey::CapsLock, QStringLiteral("大写"), RzStatusBar1);
    RzKeyStatus->setObjectName(QStringLiteral("RzKeyStatus"));

    // Permanent panes, so no passing status message ever covers them; left to right.
    RzStatusBar1->addPermanentWidget(RzClockStatus);
    RzStatusBar1->addPermanentWidget(RzStatusPane1, 1);
    RzStatusBar1->addPermanentWidget(RzGlyphStatus1);
    RzStatusBar1->addPermanentWidget(RzKeyStatus1);
    RzStatusBar1->addPermanentWidget(RzKeyStatus);
    connect(RzGlyphStatus1, &LinkPane::clicked, this, &TFMmain::RzGlyphStatus1Click);
}

void TFMmain::FormCreate()
{
    ProgramReportVariables.insert(QStringLiteral("公司名称"), Value(CompanyName));
    if (!CompanyName.isEmpty())
        RzStatusPane1->setText(CompanyName);
    setWindowTitle(caption());
    if (!BackgroundPicture.isEmpty()) {
        showBackground(BackgroundImage::fromJpeg(BackgroundPicture));
        // The picture now lives in Image1; the bytes are not needed again.
        BackgroundPicture = QByteArray();
    }
    if (DataModKvl && DataModKvl->ConKVL.isConnected())
        RepairCounters(DataModKvl->ConKVL);
}

void TFMmain::showCompanyName()
{
    // After the maintenance dialog re-created the data module: the name as PH now holds it,
    // also when it was cleared there.
    ProgramReportVariables.insert(QStringLiteral("公司名称"), Value(CompanyName));
    RzStatusPane1->setText(CompanyName);
}

void TFMmain::showBackground(const QImage &picture)
{
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void TFMmain::dxSideBar1ItemClick(int tag)
{
    if (tag == TagHelp) {
        ProgramHelp::run(this);
        return;
    }
    WorkingWindows::dispatch(tag, Panel2);
    if (tag == TagMaintenance)
        WorkingWindows::runMaintenanceDialog(this);
    if (tag == TagBackground)
        SetBackgroundPicture();
    if (tag == TagExit)
        close();
}

void TFMmain::NhelpClick()
{
    dxSideBar1ItemClick(TagHelp);
}

void TFMmain::RzGlyphStatus1Click()
{
    ProgramHelp::openWebSite();
}

void TFMmain::SetBackgroundPicture()
{
    const FileDialogResult chosen = FileDialogs::open(QStringLiteral("设定背景图片"), BackgroundImage::dialogFilter(), QString(), this);
    if (!chosen.accepted)
        return;
    const QImage picture = BackgroundImage::read(chosen.file);
    if (picture.isNull())
        return;
    showBackground(picture);
    // A picture that shows but cannot be kept stays until the program ends, without a word.
    BackgroundImage::store(BackgroundImage::toJpeg(picture));
}

void TFMmain::closeWithoutQuestion()
{
    m_ending = true;
    close();
}

void TFMmain::endProgram()
{
    closeWithoutQuestion();
    // Queued, so that a modal dialog that asked for the end can unwind first.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TFMmain::closeEvent(QCloseEvent *event)
{
    FormClose(event);
}

void TFMmain::FormClose(QCloseEvent *event)
{
    if (!m_ending && Messages::question(exitQuestion(), this) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    if (DataModKvl)
        DataModKvl->ConKVL.disconnect();
    event->accept();
}

} // namespace kvl
