// The pictures of the main window: the side-bar items' large icons and the web-link pane.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kvl {

class MainWindowIcons
{
public:
    // The large icon of the side-bar item with `tag`.
    static QIcon sideBarItem(int tag);
    // A small globe for the status bar's link to the maker's web site.
    static QPixmap webLink();
};

} // namespace kvl
