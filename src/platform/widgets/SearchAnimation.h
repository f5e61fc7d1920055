// Small looping animation of a magnifier searching a sheet: eight frames, shown while work runs.
#pragma once

#include <QTimer>
#include <QWidget>

namespace kvl {

class SearchAnimation : public QWidget
{
    Q_OBJECT
public:
    explicit SearchAnimation(QWidget *parent = nullptr);

    static constexpr int frameCount = 8;

    void start();
    void stop();                     // back to the first frame
    bool isRunning() const;
    int frame() const;
    void setFrame(int frame);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};

} // namespace kvl
