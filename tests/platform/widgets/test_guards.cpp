// Scope guards: cursor, frozen display and progress come back on every way out.
#include "FrozenDisplay.h"
#include "ProgressIndicator.h"
#include "ProgressScope.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

#include <stdexcept>

using namespace kvl;

namespace {
// The smallest real indicator: what a progress window would show, as text and visibility.
class ShownProgress : public ProgressIndicator
{
public:
    void showProgress(const QString &text) override { shown = true; current = text; log << text; }
    void hideProgress() override { shown = false; log << QStringLiteral("<hidden>"); }
    bool isProgressShown() const override { return shown; }
    QString progressText() const override { return current; }
    bool shown = false;
    QString current;
    QStringList log;
};

void failingWork()
{
    throw std::runtime_error("disk full");
}
} // namespace

class TestGuards : public QObject
{
    Q_OBJECT
private slots:
    void waitCursorNestsAndRestoresOnError();
    void frozenDisplayRestoresOuterState();
    void progressHidesOnError();
    void nestedProgressGivesTextBack();
    void progressWithoutWindowDoesNothing();
};

void TestGuards::waitCursorNestsAndRestoresOnError()
{
    QVERIFY(!QApplication::overrideCursor());
    try {
        WaitCursor outer;
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            WaitCursor inner;
            QApplication::setOverrideCursor(Qt::PointingHandCursor);
            QApplication::restoreOverrideCursor();
        }
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        failingWork();
    } catch (const std::runtime_error &) {
    }
    QVERIFY(!QApplication::overrideCursor());
}

void TestGuards::frozenDisplayRestoresOuterState()
{
    QWidget w;
    try {
        FrozenDisplay outer(&w);
        {
            FrozenDisplay inner(&w);
            QVERIFY(!w.updatesEnabled());
        }
        QVERIFY(!w.updatesEnabled());
        failingWork();
    } catch (const std::runtime_error &) {
    }
    QVERIFY(w.updatesEnabled());
}

void TestGuards::progressHidesOnError()
{
    ShownProgress window;
    try {
        ProgressScope progress(QStringLiteral("正在备份，请稍候......"), &window);
        QVERIFY(window.shown);
        failingWork();
    } catch (const std::runtime_error &) {
    }
    QVERIFY(!window.shown);
    QCOMPARE(window.log, (QStringList{"正在备份，请稍候......", "<hidden>"}));
}

void TestGuards::nestedProgressGivesTextBack()
{
    ShownProgress window;
    ProgressIndicator::setCurrent(&window);
    {
        ProgressScope outer(QStringLiteral("正在整理，请稍候......"));
        {
            ProgressScope inner(QStringLiteral("正在刷新表格，请稍候......"));
            QCOMPARE(window.current, QStringLiteral("正在刷新表格，请稍候......"));
        }
        QVERIFY(window.shown);
        QCOMPARE(window.current, QStringLiteral("正在整理，请稍候......"));
    }
    QVERIFY(!window.shown);
    ProgressIndicator::setCurrent(nullptr);
}

void TestGuards::progressWithoutWindowDoesNothing()
{
    QVERIFY(!ProgressIndicator::current());
    ProgressScope progress(QStringLiteral("x"));
    progress.setText(QStringLiteral("y"));
}

QTEST_MAIN(TestGuards)
#include "test_guards.moc"
