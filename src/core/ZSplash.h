// TSplash: the borderless start-up picture, and the "KVL" picture the login shows as well.
#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace kvl {

class TSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TSplash(QWidget *parent = nullptr);

    // The program's picture, 400 by 250, drawn once.
    static QPixmap kvlPicture();

    // Shows the window centred on the screen and paints it before the start-up work blocks.
    void showNow();

    QLabel *Image1;
};

} // namespace kvl
