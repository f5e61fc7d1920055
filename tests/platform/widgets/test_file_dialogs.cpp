// File dialogs: the program's filter notation, the seam of queued answers, the real dialog.
#include "FileDialogAnswers.h"
#include "FileDialogs.h"
#include "ModalHandlers.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace kvl;

class TestFileDialogs : public QObject
{
    Q_OBJECT
private slots:
    void qtFilters_data();
    void qtFilters();
    void seamRecordsRequestAndAnswers();
    void seamCancelsWhenNothingQueued();
    void realDialogSaveAddsDefaultExtension();
    void realDialogCancelled();
};

void TestFileDialogs::qtFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("backup") << "备份文件(*.kvl)|*.kvl" << QStringList{"备份文件 (*.kvl *.KVL)"};
    QTest::newRow("export")
        << "Excel表格 (*.xls)|*.XLS|Word文档 (*.rtf)|*.RTF|文本格式 (*.txt)|*.TXT|HTML网页 (*.htm)|*.HTM"
        << QStringList{"Excel表格 (*.xls *.XLS)", "Word文档 (*.rtf *.RTF)",
                       "文本格式 (*.txt *.TXT)", "HTML网页 (*.htm *.HTM)"};
    QTest::newRow("several patterns") << "图片|*.jpg;*.png"
                                      << QStringList{"图片 (*.jpg *.JPG *.png *.PNG)"};
    QTest::newRow("all files") << "所有文件|*" << QStringList{"所有文件 (*)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestFileDialogs::qtFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(FileDialogs::qtFilters(filter), expected);
}

void TestFileDialogs::seamRecordsRequestAndAnswers()
{
    FileDialogAnswers answers;
    answers.choose(QStringLiteral("/tmp/备份"), 1).choose(QStringLiteral("/tmp/往来单位.txt"), 3);
    const auto backup = FileDialogs::save(QStringLiteral("数据备份到哪个文件"),
                                          QStringLiteral("备份文件(*.kvl)|*.kvl"), {},
                                          QStringLiteral("/opt/kvl"), QStringLiteral("kvl"));
    QVERIFY(backup.accepted);
    QCOMPARE(backup.file, QStringLiteral("/tmp/备份.kvl"));
    const auto exported = FileDialogs::save(QStringLiteral("数据导出为..."),
                                            QStringLiteral("A|*.xls|B|*.rtf|C|*.txt"),
                                            QStringLiteral("往来单位"));
    QCOMPARE(exported.file, QStringLiteral("/tmp/往来单位.txt"));
    QCOMPARE(exported.filterIndex, 3);

    QCOMPARE(answers.requests().size(), 2);
    const FileDialogRequest &r = answers.requests().first();
    QCOMPARE(r.mode, FileDialogRequest::Mode::Save);
    QCOMPARE(r.title, QStringLiteral("数据备份到哪个文件"));
    QCOMPARE(r.initialDir, QStringLiteral("/opt/kvl"));
    QCOMPARE(r.defaultExt, QStringLiteral("kvl"));
    QCOMPARE(answers.requests().at(1).fileName, QStringLiteral("往来单位"));
    QCOMPARE(answers.pending(), 0);
}

void TestFileDialogs::seamCancelsWhenNothingQueued()
{
    FileDialogAnswers answers;
    answers.cancel();
    QVERIFY(!FileDialogs::open("t", "A|*.a").accepted);
    const auto r = FileDialogs::open("t", "A|*.a");
    QVERIFY(!r.accepted);
    QVERIFY(r.file.isEmpty());
    QCOMPARE(answers.unexpected(), 1);
}

void TestFileDialogs::realDialogSaveAddsDefaultExtension()
{
    QTemporaryDir dir;
    ModalHandlers handlers;
    QString title;
    QStringList filters;
    handlers.enqueue([&](QDialog &d) {
        auto &fd = static_cast<QFileDialog &>(d);
        title = fd.windowTitle();
        filters = fd.nameFilters();
        QCOMPARE(fd.selectedNameFilter(), filters.at(1));
        // The user types a name without extension into the dialog's name box.
        auto *name = fd.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("导出"));
        d.accept();   // QFileDialog::accept, reached through QDialog
    });
    FileDialogRequest req;
    req.mode = FileDialogRequest::Mode::Save;
    req.title = QStringLiteral("数据导出为...");
    req.filter = QStringLiteral("Excel表格 (*.xls)|*.XLS|文本格式 (*.txt)|*.TXT");
    req.filterIndex = 2;
    req.initialDir = dir.path();
    req.defaultExt = QStringLiteral("txt");
    const auto r = FileDialogs::run(req);
    QCOMPARE(handlers.leftOpen(), 0);
    QCOMPARE(title, req.title);
    QCOMPARE(filters, FileDialogs::qtFilters(req.filter));
    QVERIFY(r.accepted);
    QCOMPARE(r.file, dir.filePath(QStringLiteral("导出.txt")));
    QCOMPARE(r.filterIndex, 2);
}

void TestFileDialogs::realDialogCancelled()
{
    ModalHandlers handlers;
    handlers.enqueue([](QDialog &d) { d.reject(); });
    const auto r = FileDialogs::open(QStringLiteral("请选择老版本数据库文件"),
                                     QStringLiteral("数据库文件(*.dta)|*.dta"));
    QVERIFY(!r.accepted);
    QCOMPARE(r.filterIndex, 0);
}

QTEST_MAIN(TestFileDialogs)
#include "test_file_dialogs.moc"
