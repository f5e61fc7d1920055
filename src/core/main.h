// TFMmain: the main window with the side bar, the client panel working windows live in, the
// background picture and the status bar.
#pragma once

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;

namespace kvl {

class ClockPane;
class KeyStatePane;
class LinkPane;
class SideBar;
class SizePanel;
class StatusPane;

class TFMmain : public QMainWindow
{
    Q_OBJECT
public:
    // Runs the creation steps; the caller shows the window maximised. It frees itself when it
    // closes, so it is always created with new.
    explicit TFMmain(QWidget *parent = nullptr);
    ~TFMmain() override;

    static QString caption();       // "《Kavelo》应收应付款管理系统 3.6"
    static QString exitQuestion();  // "现在退出系统吗?"
    static QString webLinkHint();

    // The side-bar dispatcher: every working window is opened through here.
    void dxSideBar1ItemClick(int tag);
    void NhelpClick();
    void RzGlyphStatus1Click();
    // Tag 22: choose a picture file, show it and keep it in PH.JPEG.
    void SetBackgroundPicture();
    // Shows `picture` stretched over the client panel; a null picture clears it.
    void showBackground(const QImage &picture);

    // Closes (and frees) the window without the exit question, disconnecting ConKVL.
    void closeWithoutQuestion();
    // Ends the program without the exit question, from inside the message loop (a cancelled
    // password check of the maintenance dialog ends it so).
    void endProgram();

    SizePanel *RzSizePanel1;
    SideBar *dxSideBar1;
    QWidget *Panel2;
    QLabel *Image1;
    QFrame *Bevel1;
    QStatusBar *RzStatusBar1;
    ClockPane *RzClockStatus;
    StatusPane *RzStatusPane1;
    LinkPane *RzGlyphStatus1;
    KeyStatePane *RzKeyStatus1;
    KeyStatePane *RzKeyStatus;
    QMenu *MainMenu1;
    QAction *Nhelp;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose(QCloseEvent *event);
    void buildSideBar();
    void buildClientPanel();
    void buildStatusBar();
    void showCompanyName();

    bool m_ending = false;
};

// The main window of this run, or null.
inline TFMmain *FMmain = nullptr;

} // namespace kvl
