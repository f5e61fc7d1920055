// The coalescing of refresh requests: a run of requests before the event loop
// turns again gives one refresh, the latest; errors stay on this side of the loop.
#include "RefreshCoalescer.h"

#include "DbError.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kvl;

class TestRefreshCoalescer : public QObject
{
    Q_OBJECT

private slots:
    void aRunOfRequestsRunsTheLatestOnce()
    {
        RefreshCoalescer c;
        QStringList ran;
        for (const QString &text : {QStringLiteral("不"), QStringLiteral("不锈"), QStringLiteral("不锈钢")})
            c.request([&ran, text] { ran << text; });
        QVERIFY(ran.isEmpty()); // nothing runs inside the handler that asked
        QVERIFY(c.isPending());
        QTRY_VERIFY(!c.isPending());
        QCOMPARE(ran, QStringList{QStringLiteral("不锈钢")});

        // A request after the run is served again.
        c.request([&ran] { ran << QStringLiteral("x"); });
        QTRY_COMPARE(ran.size(), 2);
    }

    void eventsAlreadyQueuedComeFirst()
    {
        // A key queued before the refresh ran replaces the request it made, so the
        // one refresh sees the text as the last key left it.
        RefreshCoalescer c;
        QString text = QStringLiteral("a"), seen;
        auto refresh = [&] { seen = text; };
        c.request(refresh);
        QMetaObject::invokeMethod(&c, [&] { text += u'b'; c.request(refresh); }, Qt::QueuedConnection);
        QTRY_VERIFY(!c.isPending());
        QCOMPARE(seen, QStringLiteral("ab"));
    }

    void flushRunsNowCancelDrops()
    {
        RefreshCoalescer c;
        int runs = 0;
        c.request([&] { ++runs; });
        c.flush();
        QCOMPARE(runs, 1);
        QVERIFY(!c.isPending());
        c.flush();
        QCOMPARE(runs, 1);
        c.request([&] { ++runs; });
        c.cancel();
        QTest::qWait(0);
        QCoreApplication::processEvents();
        QCOMPARE(runs, 1);
    }

    void aFailureIsReportedNotThrownThroughTheLoop()
    {
        RefreshCoalescer c;
        QSignalSpy failed(&c, &RefreshCoalescer::failed);
        c.request([] { throw DbError(QStringLiteral("no such table: jzmx")); });
        QTRY_COMPARE(failed.count(), 1);
        QCOMPARE(failed.first().first().toString(), QStringLiteral("no such table: jzmx"));
        int runs = 0;
        c.request([&] { ++runs; });
        QTRY_COMPARE(runs, 1);
    }
};

QTEST_MAIN(TestRefreshCoalescer)
#include "test_refresh_coalescer.moc"
