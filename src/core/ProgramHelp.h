// Help: the help file KVL.CHM in the program's folder, or the maker's web site to fetch it.
#pragma once

#include <QString>

class QWidget;

namespace kvl {

class ProgramHelp
{
public:
    // The maker's web site, opened by the status-bar link and by the help download.
    static QString webSite();
    static QString helpFile();            // AppDir + "KVL.CHM"
    static QString missingHelpQuestion(); // the download question

    // Opens the help file with the desktop's viewer for it, or asks whether to download it.
    static void run(QWidget *parent = nullptr);
    // Opens the web site in the browser, with the wait cursor while the browser starts.
    static void openWebSite();
};

} // namespace kvl
