// The master-data and code-table edit dialogs on a real sample data file, driven as a
// user drives them: the series of new records with ids from PH, a refused save that keeps
// the counter and the record as typed, the questions before leaving a record with each
// answer, previous and next, the pinyin codes and the goods dialog's code-table boxes.
#include "CodeTablePicker.h"
#include "DbButtonEdit.h"
#include "DbCheckBox.h"
#include "DbEdit.h"
#include "DbMemo.h"
#include "DbNumericEdit.h"
#include "EditButton.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "../platform/widgets/TypeText.h"
#include "datakvl.h"
#include "dm_dw_edit.h"
#include "dm_qt_edit.h"
#include "dm_sp_edit.h"
#include "dm_zg_edit.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kvl;

namespace {

// One of the three master dialogs, with what the tests need to know of it.
struct Kind
{
    std::function<RecordEditDialog *()> make;
    QString table;
    QString counter;
    QString code;
    QString name;
};

Kind kindNamed(const QString &k)
{
    if (k == "partner")
        return {[] { return new TFMdm_wldw_edit; }, "往来单位", "dw", "单位编号", "单位名称"};
    if (k == "goods")
        return {[] { return new TFMdm_sp_edit; }, "商品资料", "sp", "商品编号", "商品名称"};
    return {[] { return new TFMdm_zg_edit; }, "公司员工", "zg", "员工编号", "员工姓名"};
}

template<class T = DbEdit> T *box(QWidget &d, const char *name)
{
    T *w = d.findChild<T *>(QString::fromUtf8(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void typeInto(QWidget *w, const QString &text)
{
    w->setFocus();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->selectAll();
    kvl::testing::typeText(w, text);
}

void click(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

class TestEditDialogs : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDataModKvl> m_dm;

    qint64 scalar(const QString &sql)
    {
        Statement st(m_dm->ConKVL, sql);
        return st.next() ? st.int64(0) : -1;
    }
    QString text(const QString &sql)
    {
        Statement st(m_dm->ConKVL, sql);
        return st.next() ? st.text(0) : QStringLiteral("<none>");
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        AppDir = m_dir->path() + QLatin1Char('/');
        Schema::createDataFile(AppDir + "KVL.DTA", QStringLiteral("公司"));
        {
            Connection c;
            c.connect(AppDir + "KVL.DTA", Schema::databasePassword());
            SampleData::write(c, SampleData::small());
        }
        m_dm = std::make_unique<TDataModKvl>();
        QVERIFY(DbConnected);
        SetCodeTablePicker(nullptr);
    }
    void cleanup()
    {
        SetCodeTablePicker(nullptr);
        m_dm.reset();
        m_dir.reset();
    }

    void addSeriesTakesIdsFromPh_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("partner") << "partner";
        QTest::newRow("goods") << "goods";
        QTest::newRow("staff") << "staff";
    }
    void addSeriesTakesIdsFromPh()
    {
        QFETCH(QString, kind);
        const Kind k = kindNamed(kind);
        const qint64 before = scalar("SELECT " + k.counter + " FROM PH");
        const qint64 rows = scalar("SELECT count(*) FROM " + k.table);
        std::unique_ptr<RecordEditDialog> d(k.make());
        Dataset &ds = *d->dataset();
        MessageRecorder rec;
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            QVERIFY(!d->SpeedButton1->isEnabled());
            QVERIFY(!d->SpeedButton2->isEnabled());
            typeInto(box(*d, "RzDBEdit1"), "  N01 ");
            typeInto(box(*d, "RzDBEdit2"), "新一号");
            typeInto(box<DbMemo>(*d, "RzDBMemo1"), " 留 空 ");
            click(d->RzBitBtn1);
            // Saved and still open, on a fresh record, typing goes on in the code box.
            QVERIFY(d->isVisible());
            QCOMPARE(ds.state(), Dataset::State::Insert);
            QVERIFY(!ds.modified());
            QCOMPARE(box(*d, "RzDBEdit1")->text(), QString());
            QVERIFY(box(*d, "RzDBEdit1")->hasFocus());
            typeInto(box(*d, "RzDBEdit1"), "N02");
            typeInto(box(*d, "RzDBEdit2"), "新二号");
            click(d->RzBitBtn1);
            QVERIFY(d->isVisible());
            // The untouched third record ends the series without a question.
            click(d->RzBitBtn2);
        });
        QCOMPARE(d->runAdding(), int(mrAbort));
        QCOMPARE(h.pending(), 0);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(scalar("SELECT " + k.counter + " FROM PH"), before + 2);
        QCOMPARE(scalar("SELECT count(*) FROM " + k.table), rows + 2);
        QCOMPARE(text(QStringLiteral("SELECT %1 FROM %2 WHERE id=%3").arg(k.code, k.table).arg(before + 1)), "N01");
        QCOMPARE(text(QStringLiteral("SELECT %1 FROM %2 WHERE id=%3").arg(k.name, k.table).arg(before + 2)), "新二号");
        // Trimmed fields lose their blanks, the memo keeps them.
        QCOMPARE(text(QStringLiteral("SELECT 备注 FROM %1 WHERE id=%2").arg(k.table).arg(before + 1)), " 留 空 ");
        QCOMPARE(ds.state(), Dataset::State::Browse);
        QCOMPARE(ds.recordCount(), int(rows + 2));
    }

    void refusedSaveKeepsCounterAndRecord()
    {
        const qint64 before = scalar("SELECT dw FROM PH");
        TFMdm_wldw_edit d;
        Dataset &ds = *d.dataset();
        const QString longName(31, QChar(0x5F20)); // 张 thirty-one times gives a 31-letter code
        MessageRecorder rec;
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(box(d, "RzDBEdit2"), longName);
            QCOMPARE(ds.value("单位名称").toString(), longName.left(60));
            click(d.SpeedButton3);
            QCOMPARE(box(d, "RzDBEdit1")->text(), QString(31, 'Z'));
            typeInto(box(d, "RzDBEdit3"), "李四");
            click(d.RzBitBtn1);
            QCOMPARE(rec.texts(), QStringList{"字段“单位编号”最多 30 个字符，现在是 31 个字符，请缩短后再保存。"});
            QCOMPARE(rec.transcript().first().kind, MessageKind::Warning);
            // Still open on the record as typed, the focus back in the first box.
            QVERIFY(d.isVisible());
            QCOMPARE(ds.state(), Dataset::State::Insert);
            QCOMPARE(ds.value("单位编号").toString(), QString(31, 'Z'));
            QCOMPARE(ds.value("联系人").toString(), "李四");
            QVERIFY(box(d, "RzDBEdit1")->hasFocus());
            QCOMPARE(scalar("SELECT dw FROM PH"), before);
            // Shortened, the same id is given.
            typeInto(box(d, "RzDBEdit1"), "ZZ");
            click(d.RzBitBtn1);
            click(d.RzBitBtn2);
        });
        QCOMPARE(d.runAdding(), int(mrAbort));
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(scalar("SELECT dw FROM PH"), before + 1);
        QCOMPARE(text(QStringLiteral("SELECT 联系人 FROM 往来单位 WHERE id=%1").arg(before + 1)), "李四");
    }

    void untouchedRecordClosesWithoutWriting_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<int>("button");
        QTest::newRow("add, OK") << true << 1;
        QTest::newRow("add, Esc in the memo") << true << 2;
        QTest::newRow("change, OK") << false << 1;
        QTest::newRow("change, close box") << false << 0;
    }
    void untouchedRecordClosesWithoutWriting()
    {
        QFETCH(bool, adding);
        QFETCH(int, button);
        const qint64 before = scalar("SELECT zg FROM PH");
        const qint64 rows = scalar("SELECT count(*) FROM 公司员工");
        TFMdm_zg_edit d;
        MessageRecorder rec;
        ModalHandlers h;
        h.enqueue([&](QDialog &dlg) {
            if (button == 1)
                click(d.RzBitBtn1);
            else if (button == 2) {
                // Esc in the memo closes as 取消 does, instead of staying in the memo.
                auto *memo = box<DbMemo>(d, "RzDBMemo1");
                memo->setFocus();
                QTest::keyClick(memo, Qt::Key_Escape);
            }
            else
                dlg.close();
        });
        const int code = adding ? d.runAdding() : d.runChanging(true);
        QCOMPARE(code, button == 1 ? int(mrOk) : button == 2 ? int(mrAbort) : int(mrCancel));
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(scalar("SELECT zg FROM PH"), before);
        QCOMPARE(scalar("SELECT count(*) FROM 公司员工"), rows);
        QCOMPARE(d.dataset()->state(), Dataset::State::Browse);
    }

    void leaveQuestions_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("stored");
        const QString adding = "正在添加记录，确定放弃吗？";
        const QString changed = "当前数据已经更改，保存吗？";
        QTest::newRow("adding, Yes drops it") << true << int(QMessageBox::Yes) << adding << true << false;
        QTest::newRow("adding, No stays") << true << int(QMessageBox::No) << adding << false << false;
        QTest::newRow("changed, Yes saves") << false << int(QMessageBox::Yes) << changed << true << true;
        QTest::newRow("changed, No discards") << false << int(QMessageBox::No) << changed << true << false;
        QTest::newRow("changed, Cancel stays") << false << int(QMessageBox::Cancel) << changed << false << false;
    }
    void leaveQuestions()
    {
        QFETCH(bool, adding);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, closes);
        QFETCH(bool, stored);
        const qint64 rows = scalar("SELECT count(*) FROM 往来单位");
        TFMdm_wldw_edit d;
        Dataset &ds = *d.dataset();
        ds.first();
        const qint64 id = ds.value("id").toInt();
        const QString oldName = ds.value("单位名称").toString();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::StandardButton(answer));
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(box(d, "RzDBEdit2"), "改过的名称");
            click(d.RzBitBtn2);
            QCOMPARE(d.isVisible(), !closes);
            if (!closes) {
                // Stays on the record as typed; a second 取消 asks again.
                QCOMPARE(ds.value("单位名称").toString(), "改过的名称");
                QVERIFY(ds.modified());
                rec.queueAnswer(adding ? QMessageBox::Yes : QMessageBox::No);
                click(d.RzBitBtn2);
                QVERIFY(!d.isVisible());
            }
        });
        QCOMPARE(adding ? d.runAdding() : d.runChanging(true), int(mrAbort));
        QCOMPARE(rec.transcript().first().text, question);
        QCOMPARE(rec.transcript().first().kind, MessageKind::Question);
        QCOMPARE(rec.transcript().first().buttons, adding ? MessageButtons::YesNo : MessageButtons::YesNoCancel);
        QCOMPARE(rec.texts().size(), closes ? 1 : 2);
        QCOMPARE(scalar("SELECT count(*) FROM 往来单位"), rows);
        if (!adding)
            QCOMPARE(text(QStringLiteral("SELECT 单位名称 FROM 往来单位 WHERE id=%1").arg(id)),
                     stored ? QStringLiteral("改过的名称") : oldName);
        QCOMPARE(ds.state(), Dataset::State::Browse);
    }

    void previousAndNext_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("stored");
        QTest::newRow("Cancel stays") << int(QMessageBox::Cancel) << 0 << false;
        QTest::newRow("No discards and moves") << int(QMessageBox::No) << 1 << false;
        QTest::newRow("Yes saves and moves") << int(QMessageBox::Yes) << 1 << true;
    }
    void previousAndNext()
    {
        QFETCH(int, answer);
        QFETCH(int, row);
        QFETCH(bool, stored);
        TFMdm_sp_edit d;
        Dataset &ds = *d.dataset();
        ds.first();
        const qint64 firstId = ds.value("id").toInt();
        const QString firstName = ds.value("商品名称").toString();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::StandardButton(answer));
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(box(d, "RzDBEdit2"), "换了名字");
            click(d.SpeedButton2);
            QCOMPARE(rec.texts(), QStringList{"当前数据已经更改，保存吗？"});
            QCOMPARE(ds.currentIndex(), row);
            // Whichever record it is on, it is being edited.
            QCOMPARE(ds.state(), Dataset::State::Edit);
            QCOMPARE(box(d, "RzDBEdit2")->text(), ds.value("商品名称").toString());
            if (row == 1) {
                QVERIFY(d.SpeedButton1->isEnabled());
                click(d.SpeedButton1);
                QCOMPARE(ds.currentIndex(), 0);
                QVERIFY(!d.SpeedButton1->isEnabled());
            }
            // Unchanged records are left without a question, to the last one.
            ds.cancel();
            rec.clear();
            for (int i = 0; i < ds.recordCount(); ++i)
                click(d.SpeedButton2);
            QCOMPARE(rec.texts(), QStringList());
            QCOMPARE(ds.recNo(), ds.recordCount());
            QVERIFY(!d.SpeedButton2->isEnabled());
            QVERIFY(d.SpeedButton1->isEnabled());
            click(d.RzBitBtn2);
        });
        d.runChanging(true);
        QCOMPARE(text(QStringLiteral("SELECT 商品名称 FROM 商品资料 WHERE id=%1").arg(firstId)),
                 stored ? QStringLiteral("换了名字") : firstName);
    }

    void pinyinButtonWritesTheCode_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("partner") << "partner" << "  ABC有限公司 " << "ABCYXGS";
        QTest::newRow("goods") << "goods" << "（一）号" << "(Y)H";
        QTest::newRow("staff") << "staff" << "张三" << "ZS";
    }
    void pinyinButtonWritesTheCode()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, code);
        const Kind k = kindNamed(kind);
        std::unique_ptr<RecordEditDialog> d(k.make());
        QVERIFY(d->SpeedButton3);
        QCOMPARE(d->SpeedButton3->text(), QStringLiteral("“%1”的拼音简码(&P)").arg(k.name));
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(box(*d, "RzDBEdit1"), "手写的");
            typeInto(box(*d, "RzDBEdit2"), name);
            click(d->SpeedButton3);
            QCOMPARE(box(*d, "RzDBEdit1")->text(), code);
            QCOMPARE(d->dataset()->value(k.code).toString(), code);
            click(d->RzBitBtn1);
            click(d->RzBitBtn2);
        });
        d->runAdding();
        QCOMPARE(text(QStringLiteral("SELECT %1 FROM %2 ORDER BY id DESC").arg(k.code, k.table)), code);
    }

    void layoutCaptionsAndAccess()
    {
        TFMdm_wldw_edit d;
        QCOMPARE(d.windowTitle(), "往来单位");
        QCOMPARE(d.RzBitBtn1->text(), "确定(&Yes)");
        QCOMPARE(d.RzBitBtn2->text(), "取消(&Esc)");
        QCOMPARE(d.SpeedButton1->text(), "上一条记录(&U)");
        QCOMPARE(d.SpeedButton2->text(), "下一条记录(&M)");
        QVERIFY(d.SpeedButton1->autoRepeat());
        QCOMPARE(box<DbCheckBox>(d, "RzDBCheckBox1")->text(), "暂停使用");
        QCOMPARE(box<DbMemo>(d, "RzDBMemo1")->maxLength(), 255);
        QCOMPARE(box(d, "RzDBEdit1")->maxLength(), 30);
        QCOMPARE(box(d, "RzDBEdit5")->maxLength(), 10);
        QCOMPARE(QAccessible::queryAccessibleInterface(box(d, "RzDBEdit5"))->text(QAccessible::Name), "邮编地址");
        QCOMPARE(QAccessible::queryAccessibleInterface(box(d, "RzDBEdit2"))->text(QAccessible::Name), "单位名称");
        QCOMPARE(d.findChild<QLabel *>("Label2")->toolTip(), "单位名称或个人姓名");
        // Tab order is the order of the fields, then 确定 and 取消.
        const QStringList order{"RzDBEdit1", "RzDBEdit2", "RzDBEdit3", "RzDBEdit4", "RzDBEdit5",
                                "RzDBEdit6", "RzDBCheckBox1", "RzDBMemo1", "RzBitBtn1", "RzBitBtn2"};
        QWidget *w = box(d, "RzDBEdit1");
        for (const QString &name : order) {
            QCOMPARE(w->objectName(), name);
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus) || w->isWindow());
        }
    }

    void enterMovesOnAndEditableFollowsTheListWindow()
    {
        TFMdm_zg_edit d;
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            box(d, "RzDBEdit1")->setFocus();
            for (const char *next : {"RzDBEdit2", "RzDBEdit3", "RzDBEdit4", "RzDBCheckBox1", "RzDBMemo1"}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromUtf8(next));
            }
            click(d.RzBitBtn2);
        });
        d.runChanging(true);

        TFMdm_zg_edit ro;
        ModalHandlers h2;
        h2.enqueue([&](QDialog &) {
            for (const char *n : {"RzDBEdit1", "RzDBEdit4", "RzDBCheckBox1", "RzDBMemo1"})
                QVERIFY(!ro.findChild<QWidget *>(n)->isEnabled());
            QVERIFY(!ro.SpeedButton3->isEnabled());
            QVERIFY(ro.RzBitBtn2->isEnabled());
            click(ro.RzBitBtn2);
        });
        QCOMPARE(ro.runChanging(false), int(mrAbort));
    }

    void goodsPricesAndRefusedNumber()
    {
        TFMdm_sp_edit d;
        Dataset &ds = *d.dataset();
        MessageRecorder rec;
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(box(d, "RzDBEdit1"), "P1");
            typeInto(box<DbNumericEdit>(d, "RzDBNumericEdit1"), "12,5a");
            click(d.RzBitBtn1);
            // Refused before anything is written; the dialog and the text stay.
            QCOMPARE(rec.texts(), QStringList{"参考进价：“12,5a”不是有效的金额。"});
            QVERIFY(d.isVisible());
            QCOMPARE(box<DbNumericEdit>(d, "RzDBNumericEdit1")->text(), "12,5a");
            QCOMPARE(ds.state(), Dataset::State::Insert);
            typeInto(box<DbNumericEdit>(d, "RzDBNumericEdit1"), "1234.5");
            typeInto(box<DbNumericEdit>(d, "RzDBNumericEdit2"), "2000");
            QCOMPARE(box<DbNumericEdit>(d, "RzDBNumericEdit1")->text(), "1,234.50");
            click(d.RzBitBtn1);
            click(d.RzBitBtn2);
        });
        d.runAdding();
        QCOMPARE(scalar("SELECT 参考进价 FROM 商品资料 WHERE 商品编号='P1'"), 12345000);
        QCOMPARE(scalar("SELECT 参考销价 FROM 商品资料 WHERE 商品编号='P1'"), 20000000);
    }

    void codeTableBoxesOpenThePicker_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("next");
        QTest::newRow("category by F4") << "splb" << "F4" << "商品类别" << "spcd";
        QTest::newRow("origin by Enter") << "spcd" << "Enter" << "商品产地" << "spdw";
        QTest::newRow("unit by double click") << "spdw" << "double click" << "计量单位" << "RzDBNumericEdit1";
        QTest::newRow("unit by its button") << "spdw" << "button" << "计量单位" << "RzDBNumericEdit1";
    }
    void codeTableBoxesOpenThePicker()
    {
        QFETCH(QString, box);
        QFETCH(QString, how);
        QFETCH(QString, table);
        QFETCH(QString, next);
        QStringList asked;
        std::optional<QString> answer = QStringLiteral("选中的");
        SetCodeTablePicker([&](const QString &t, const QString &text, QWidget *) {
            asked << t + "/" + text;
            return answer;
        });
        TFMdm_sp_edit d;
        Dataset &ds = *d.dataset();
        auto press = [&] {
            auto *e = d.findChild<DbButtonEdit *>(box);
            e->setFocus();
            if (how == "F4")
                QTest::keyClick(e, Qt::Key_F4);
            else if (how == "Enter")
                QTest::keyClick(e, Qt::Key_Return);
            else if (how == "double click")
                QTest::mouseDClick(e, Qt::LeftButton);
            else
                e->button()->action()->trigger();
        };
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(d.findChild<DbButtonEdit *>(box), "打");
            press();
            QCOMPARE(asked, QStringList{table + "/打"});
            QCOMPARE(ds.value(table).toString(), "选中的");
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
            // Closed without a choice: the field keeps its text, the focus still moves on.
            answer.reset();
            press();
            QCOMPARE(ds.value(table).toString(), "选中的");
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
            click(d.RzBitBtn2);
        });
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        d.runAdding();
        QCOMPARE(asked.size(), 2);
    }

    void codeTableBoxesWithoutPickerDoNothing()
    {
        TFMdm_sp_edit d;
        Dataset &ds = *d.dataset();
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            d.splb->setFocus();
            QTest::keyClick(d.splb, Qt::Key_F4);
            QCOMPARE(ds.state(), Dataset::State::Insert);
            QVERIFY(!ds.modified());
            click(d.RzBitBtn2);
        });
        MessageRecorder rec;
        d.runAdding();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(d.splb->toolTip(), "F4");
    }

    void codeTablePinyinFollowsTheName()
    {
        TFMdm_qt_edit d;
        QVERIFY(d.bindTable("计量单位"));
        QCOMPARE(d.windowTitle(), "计量单位");
        QCOMPARE(d.Label3->text(), "计量单位");
        Dataset &ds = m_dm->DataDm_spdw;
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            typeInto(d.RzDBEdit1, "公斤");
            QCOMPARE(d.RzDBEdit2->text(), "GJ");
            QCOMPARE(ds.value("拼音简码").toString(), "GJ");
            typeInto(d.RzDBEdit1, "千克");
            QCOMPARE(d.RzDBEdit2->text(), "QK");
            // A code typed by hand stands until the next key in the name box.
            typeInto(d.RzDBEdit2, "QIANKE");
            QCOMPARE(ds.value("拼音简码").toString(), "QIANKE");
            d.RzDBEdit1->setFocus();
            QTest::keyClick(d.RzDBEdit1, Qt::Key_End);
            QCOMPARE(d.RzDBEdit2->text(), "QK");
            click(d.RzBitBtn1);
            typeInto(d.RzDBEdit1, " 箱 ");
            click(d.RzBitBtn1);
            typeInto(d.RzDBEdit1, "件");
            click(d.RzBitBtn1);
            QVERIFY(d.isVisible());
            QVERIFY(d.RzDBEdit1->hasFocus());
            click(d.RzBitBtn2);
        });
        MessageRecorder rec;
        QCOMPARE(d.runAdding(), int(mrAbort));
        QCOMPARE(rec.texts(), QStringList());
        for (const auto &[name, code] : {std::pair{"千克", "QK"}, {"箱", "X"}, {"件", "J"}})
            QCOMPARE(text(QStringLiteral("SELECT 拼音简码 FROM 计量单位 WHERE 计量单位='%1'").arg(name)), code);
    }

    void codeTableRefusalStaysInTheDialog()
    {
        TFMdm_qt_edit d;
        QVERIFY(d.bindTable("商品类别"));
        QVERIFY(!d.bindTable("别的"));
        Dataset &ds = m_dm->DataDm_splb;
        const qint64 rows = scalar("SELECT count(*) FROM 商品类别");
        MessageRecorder rec;
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            // A name of eleven characters makes a code one longer than its field.
            typeInto(d.RzDBEdit1, QString(11, QChar(0x4E00)));
            QCOMPARE(ds.value("拼音简码").toString(), QString(11, 'Y'));
            click(d.RzBitBtn1);
            QCOMPARE(rec.texts(), QStringList{"字段“拼音简码”最多 10 个字符，现在是 11 个字符，请缩短后再保存。"});
            QVERIFY(d.isVisible());
            QCOMPARE(ds.state(), Dataset::State::Insert);
            QVERIFY(d.RzDBEdit1->hasFocus());
            rec.queueAnswer(QMessageBox::Yes);
            click(d.RzBitBtn2);
        });
        d.runAdding();
        QCOMPARE(rec.texts().value(1), "正在添加记录，确定放弃吗？");
        QCOMPARE(scalar("SELECT count(*) FROM 商品类别"), rows);
    }

    void codeTableChangeWithPreviousAndNext()
    {
        Dataset &ds = m_dm->DataDm_spcd;
        ds.first();
        const QString first = ds.value("商品产地").toString();
        TFMdm_qt_edit d;
        QVERIFY(d.bindTable("商品产地"));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            QCOMPARE(d.RzDBEdit1->text(), first);
            typeInto(d.RzDBEdit1, "新产地");
            QCOMPARE(d.RzDBEdit2->text(), "XCD");
            click(d.SpeedButton2);
            QCOMPARE(ds.currentIndex(), 1);
            click(d.RzBitBtn1);
        });
        QCOMPARE(d.runChanging(true), int(mrOk));
        QCOMPARE(rec.texts(), QStringList{"当前数据已经更改，保存吗？"});
        QCOMPARE(scalar("SELECT count(*) FROM 商品产地 WHERE 商品产地='新产地' AND 拼音简码='XCD'"), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM 商品产地 WHERE 商品产地='%1'").arg(first)), 0);
    }
};

QTEST_MAIN(TestEditDialogs)
#include "test_edit_dialogs.moc"
