// Help file, download question and the web link.
#include "ProgramHelp.h"

#include "Messages.h"
#include "ProgramValues.h"
#include "UrlOpener.h"
#include "WaitCursor.h"

#include <QFileInfo>
#include <QUrl>

namespace kvl {

namespace {
// The one place the maker's address is written.
const char kMakerWebSite[] = "https://www.example.com/kavelo/";
} // namespace

QString ProgramHelp::webSite()
{
    return QString::fromLatin1(kMakerWebSite);
}

QString ProgramHelp::helpFile()
{
    return AppDir + QStringLiteral("KVL.CHM");
}

QString ProgramHelp::missingHelpQuestion()
{
    return QStringLiteral("找不到帮助文件，下载最新的帮助文件？\r\r下载的文件请直接拷贝到本系统的运行目录即可。");
}

void ProgramHelp::run(QWidget *parent)
{
    const QString file = helpFile();
    if (QFileInfo(file).isFile()) {
        // The desktop's viewer brings up its own window for a file it already shows.
        UrlOpener::open(QUrl::fromLocalFile(file));
        return;
    }
    if (Messages::question(missingHelpQuestion(), parent) == QMessageBox::Yes)
        openWebSite();
}

void ProgramHelp::openWebSite()
{
    WaitCursor wait;
    UrlOpener::open(QUrl(webSite()));
}

} // namespace kvl
