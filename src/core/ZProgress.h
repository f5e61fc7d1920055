// TProgress_Frm: the always-on-top progress window long operations show (via ProgressScope).
#pragma once

#include "ProgressIndicator.h"

#include <QWidget>

class QLabel;

namespace kvl {

class SearchAnimation;

class TProgress_Frm : public QWidget, public ProgressIndicator
{
    Q_OBJECT
public:
    // Created hidden, centred on `mainWindow` when shown; becomes the program's progress
    // window for ProgressScope.
    explicit TProgress_Frm(QWidget *mainWindow = nullptr);
    ~TProgress_Frm() override;

    void showProgress(const QString &text) override;
    void hideProgress() override;
    bool isProgressShown() const override;
    QString progressText() const override;

    QLabel *Label1;
    SearchAnimation *Animate1;

private:
    void centreOnMainWindow();
};

} // namespace kvl
