// A second start finds the running instance and asks it to come to the front.
#include "SingleInstance.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

using namespace kvl;

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void secondStartActivatesTheFirst()
    {
        const QString key = QStringLiteral("KavTest%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(key);
        QVERIFY(!first.activateRunning()); // nobody runs yet
        QVERIFY(first.listen());
        QSignalSpy spy(&first, &SingleInstance::activationRequested);

        // The second start comes from another process, as it does for a user.
        QProcess second;
        second.start(QCoreApplication::applicationFilePath(), {"--second", key});
        QVERIFY(spy.wait(10000));
        // waitForFinished() is false for a process that has already ended.
        if (second.state() != QProcess::NotRunning)
            QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1); // it found the running instance and ended
    }

    void staleNameIsTakenOver()
    {
        const QString key = QStringLiteral("KavStale%1").arg(QCoreApplication::applicationPid());
        {
            SingleInstance gone(key);
            QVERIFY(gone.listen());
        }
        SingleInstance next(key);
        QVERIFY(!next.activateRunning());
        QVERIFY(next.listen());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--second") {
        SingleInstance si(QString::fromLocal8Bit(argv[2]));
        return si.activateRunning() ? 1 : 0;
    }
    TestSingleInstance t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_singleinstance.moc"
