// The message helper: what a box shows (title, icon, buttons, line breaks) and the answers.
#include "MessageRecorder.h"
#include "Messages.h"
#include "ModalHandlers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QTest>

using namespace kvl;

Q_DECLARE_METATYPE(kvl::MessageKind)
Q_DECLARE_METATYPE(kvl::MessageButtons)

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void lineBreaks_data();
    void lineBreaks();
    void transcriptRecordsWhatIsShown();
    void queuedAnswersInOrder();
    void unqueuedQuestionTakesEscapeAnswer();
    void answerNotOfferedIsRefused();
    void recordersNest();
    void realBox_data();
    void realBox();
    void markupStaysText();
};

void TestMessages::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << "现在退出系统吗?" << "现在退出系统吗?";
    QTest::newRow("two CRs")
        << "找不到帮助文件，下载最新的帮助文件？\r\r下载的文件请直接拷贝到本系统的运行目录即可。"
        << "找不到帮助文件，下载最新的帮助文件？\n\n下载的文件请直接拷贝到本系统的运行目录即可。";
    QTest::newRow("CRLF is one break") << "a\r\nb" << "a\nb";
    QTest::newRow("trailing") << "a\r" << "a\n";
}

void TestMessages::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    MessageRecorder rec;
    Messages::warning(text);
    QCOMPARE(rec.texts(), QStringList{shown});
}

void TestMessages::transcriptRecordsWhatIsShown()
{
    MessageRecorder rec;
    Messages::warning(QStringLiteral("此单已经结帐，不能删除！"));
    Messages::information(QStringLiteral("完成"));
    rec.queueAnswer(QMessageBox::Yes);
    QCOMPARE(Messages::question(QStringLiteral("现在退出系统吗?")), QMessageBox::Yes);
    rec.queueAnswer(QMessageBox::Cancel);
    QCOMPARE(Messages::questionWithCancel(QStringLiteral("当前数据已经更改，保存吗？")),
             QMessageBox::Cancel);

    const auto &t = rec.transcript();
    QCOMPARE(t.size(), 4);
    for (const ShownMessage &m : t)
        QCOMPARE(m.title, QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
    QCOMPARE(t[0].kind, MessageKind::Warning);
    QCOMPARE(t[0].buttons, MessageButtons::Ok);
    QCOMPARE(t[1].kind, MessageKind::Information);
    QCOMPARE(t[2].kind, MessageKind::Question);
    QCOMPARE(t[2].buttons, MessageButtons::YesNo);
    QCOMPARE(t[3].buttons, MessageButtons::YesNoCancel);
    QCOMPARE(t[3].answer, QMessageBox::Cancel);
    QVERIFY(t[3].queued);
    QCOMPARE(rec.pendingAnswers(), 0);
}

void TestMessages::queuedAnswersInOrder()
{
    MessageRecorder rec;
    rec.queueAnswer(QMessageBox::No);
    rec.queueAnswer(QMessageBox::Yes);
    // An OK box takes no decision and leaves the queued answers to the questions.
    Messages::warning(QStringLiteral("w"));
    QVERIFY(!Messages::confirm(QStringLiteral("q1")));
    QVERIFY(Messages::confirm(QStringLiteral("q2")));
    QCOMPARE(rec.texts(), (QStringList{"w", "q1", "q2"}));
}

void TestMessages::unqueuedQuestionTakesEscapeAnswer()
{
    MessageRecorder rec;
    QCOMPARE(Messages::question(QStringLiteral("q")), QMessageBox::No);
    QCOMPARE(Messages::questionWithCancel(QStringLiteral("q")), QMessageBox::Cancel);
    QVERIFY(!rec.transcript()[0].queued);
    QVERIFY(!rec.transcript()[1].queued);
}

void TestMessages::answerNotOfferedIsRefused()
{
    MessageRecorder rec;
    rec.queueAnswer(QMessageBox::Cancel);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not a button"));
    QCOMPARE(Messages::question(QStringLiteral("q")), QMessageBox::No);
    QVERIFY(!rec.transcript()[0].queued);
}

void TestMessages::recordersNest()
{
    MessageRecorder outer;
    {
        MessageRecorder inner;
        Messages::warning(QStringLiteral("inner"));
        QCOMPARE(inner.texts(), QStringList{"inner"});
    }
    Messages::warning(QStringLiteral("outer"));
    QCOMPARE(outer.texts(), QStringList{"outer"});
    QCOMPARE(MessageRecorder::active(), &outer);
}

// Without a recorder the real QMessageBox runs through the modal runner; a handler clicks it.
void TestMessages::realBox_data()
{
    QTest::addColumn<MessageKind>("kind");
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("click");
    QTest::newRow("warning") << MessageKind::Warning << MessageButtons::Ok
                             << int(QMessageBox::Warning) << QStringList{"确定"}
                             << int(QMessageBox::Ok);
    QTest::newRow("question") << MessageKind::Question << MessageButtons::YesNo
                              << int(QMessageBox::Question) << QStringList{"是(&Y)", "否(&N)"}
                              << int(QMessageBox::No);
    QTest::newRow("three") << MessageKind::Question << MessageButtons::YesNoCancel
                           << int(QMessageBox::Question)
                           << QStringList{"是(&Y)", "否(&N)", "取消"} << int(QMessageBox::Yes);
    QTest::newRow("information") << MessageKind::Information << MessageButtons::Ok
                                 << int(QMessageBox::Information) << QStringList{"确定"}
                                 << int(QMessageBox::Ok);
}

void TestMessages::realBox()
{
    QFETCH(MessageKind, kind);
    QFETCH(MessageButtons, buttons);
    QFETCH(int, icon);
    QFETCH(QStringList, captions);
    QFETCH(int, click);
    ModalHandlers handlers;
    QString title, text;
    QStringList shownCaptions;
    int shownIcon = -1;
    handlers.enqueue([&](QDialog &d) {
        auto &box = static_cast<QMessageBox &>(d);
        title = box.windowTitle();
        text = box.text();
        shownIcon = box.icon();
        for (QAbstractButton *b : box.buttons())
            shownCaptions.append(b->text());
        box.button(QMessageBox::StandardButton(click))->click();
    });
    const auto answer = Messages::show(kind, QStringLiteral("第一行\r第二行"), buttons);
    QCOMPARE(int(answer), click);
    QCOMPARE(title, Messages::title());
    QCOMPARE(text, QStringLiteral("第一行\n第二行"));
    QCOMPARE(shownIcon, icon);
    shownCaptions.sort();
    captions.sort();
    QCOMPARE(shownCaptions, captions);
    QCOMPARE(handlers.pending(), 0);
}

void TestMessages::markupStaysText()
{
    ModalHandlers handlers;
    Qt::TextFormat format = Qt::RichText;
    handlers.enqueue([&](QDialog &d) {
        format = static_cast<QMessageBox &>(d).textFormat();
        d.reject();
    });
    Messages::warning(QStringLiteral("<b>名称</b>"));
    QCOMPARE(format, Qt::PlainText);
}

QTEST_MAIN(TestMessages)
#include "test_messages.moc"
