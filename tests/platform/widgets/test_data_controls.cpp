// The data-aware controls on a real data file: they show the current row (formatted at
// rest, raw while edited), follow the dataset, write into it putting it into edit state,
// respect read-only fields and field sizes, and refuse bad input with a message.
#include "AccessibleBuddy.h"
#include "ButtonEdit.h"
#include "Connection.h"
#include "Dataset.h"
#include "DbButtonEdit.h"
#include "DbCheckBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbMemo.h"
#include "DbNumericEdit.h"
#include "EditButton.h"
#include "MessageRecorder.h"
#include "TypeText.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using namespace kvl;

namespace {

FieldDef def(const char *name, ValueType type, int size = -1, const char *format = "")
{
    FieldDef f;
    f.name = QString::fromUtf8(name);
    f.type = type;
    f.size = size;
    f.displayFormat = QString::fromUtf8(format);
    return f;
}

} // namespace

class TestDataControls : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    Connection m_conn;
    Dataset *m_ds = nullptr;
    QWidget *m_window = nullptr;
    DbEdit *m_name = nullptr;
    DbNumericEdit *m_price = nullptr;
    DbDateEdit *m_day = nullptr;
    DbCheckBox *m_flag = nullptr;
    DbMemo *m_memo = nullptr;
    DbEdit *m_fixed = nullptr;
    QLineEdit *m_other = nullptr;

    Value stored(const char *column, int id)
    {
        Dataset q(m_conn);
        q.setSql(QStringLiteral("SELECT %1 FROM goods WHERE id=%2").arg(QString::fromUtf8(column)).arg(id));
        q.open();
        return q.value(0);
    }
    // Leaves the box as a user does, by moving the focus on.
    void leave(QWidget *w)
    {
        w->setFocus();
        m_other->setFocus(Qt::TabFocusReason);
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("T.DTA"));
        Connection::createDataFile(path, QStringLiteral("pw"));
        m_conn.connect(path, QStringLiteral("pw"));
        m_conn.exec(QStringLiteral("CREATE TABLE goods(id INTEGER PRIMARY KEY, name TEXT, price INTEGER, qty INTEGER,"
                                   " day TEXT, flag INTEGER, memo TEXT, fixed TEXT)"));
    }

    void init()
    {
        m_conn.exec(QStringLiteral("DELETE FROM goods;"
                                   "INSERT INTO goods VALUES(1, '螺丝', 12345000, 7, '2024-03-05 00:00:00', 1, '第一行', '甲');"
                                   "INSERT INTO goods VALUES(2, '螺母', 5000, 0, '2023-12-31 00:00:00', 0, '', '乙');"));
        m_ds = new Dataset(m_conn);
        m_ds->setSql(QStringLiteral("SELECT * FROM goods ORDER BY id"));
        FieldDef fixed = def("fixed", ValueType::Text, 10);
        fixed.readOnly = true;
        m_ds->setFieldDefs({def("id", ValueType::Integer), def("name", ValueType::Text, 6),
                            def("price", ValueType::Money, -1, ",0.00;;#"), def("qty", ValueType::Integer),
                            def("day", ValueType::DateTime), def("flag", ValueType::Boolean),
                            def("memo", ValueType::Text, 12), fixed});
        m_ds->open();

        m_window = new QWidget;
        auto *l = new QVBoxLayout(m_window);
        l->addWidget(m_name = new DbEdit);
        l->addWidget(m_price = new DbNumericEdit);
        l->addWidget(m_day = new DbDateEdit);
        l->addWidget(m_flag = new DbCheckBox(QStringLiteral("暂停使用")));
        l->addWidget(m_memo = new DbMemo);
        l->addWidget(m_fixed = new DbEdit);
        l->addWidget(m_other = new QLineEdit);
        m_name->bind(m_ds, QStringLiteral("name"));
        m_price->bind(m_ds, QStringLiteral("price"));
        m_day->bind(m_ds, QStringLiteral("day"));
        m_flag->bind(m_ds, QStringLiteral("flag"));
        m_memo->bind(m_ds, QStringLiteral("memo"));
        m_fixed->bind(m_ds, QStringLiteral("fixed"));
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_other->setFocus();
    }

    void cleanup()
    {
        delete m_window;
        delete m_ds;
    }

    void showsCurrentRowFormattedAtRestRawWhileEdited()
    {
        QCOMPARE(m_name->text(), QStringLiteral("螺丝"));
        QCOMPARE(m_price->text(), QStringLiteral("1,234.50"));
        QCOMPARE(m_day->text(), QStringLiteral("2024/03/05"));
        QVERIFY(m_flag->isChecked());
        QCOMPARE(m_memo->toPlainText(), QStringLiteral("第一行"));
        m_price->setFocus();
        QCOMPARE(m_price->text(), QStringLiteral("1234.5"));
        m_day->setFocus();
        QCOMPARE(m_day->text(), QStringLiteral("2024-03-05"));
        QCOMPARE(m_price->text(), QStringLiteral("1,234.50"));
        m_other->setFocus();
        QCOMPARE(m_day->text(), QStringLiteral("2024/03/05"));
        // Nothing was typed, so nothing was written.
        QCOMPARE(m_ds->state(), Dataset::State::Browse);
    }

    void followsTheDataset()
    {
        m_ds->next();
        QCOMPARE(m_name->text(), QStringLiteral("螺母"));
        QCOMPARE(m_price->text(), QStringLiteral("0.50"));
        QVERIFY(!m_flag->isChecked());
        QCOMPARE(m_memo->toPlainText(), QString());
        // Values written by someone else show at once; cancel brings the stored ones back.
        m_ds->edit();
        m_ds->setValue(QStringLiteral("name"), Value(QStringLiteral("垫片")));
        m_ds->setValue(QStringLiteral("flag"), Value::boolean(true));
        QCOMPARE(m_name->text(), QStringLiteral("垫片"));
        QVERIFY(m_flag->isChecked());
        m_ds->cancel();
        QCOMPARE(m_name->text(), QStringLiteral("螺母"));
        QVERIFY(!m_flag->isChecked());
        // A new row is empty; a sort (a reset) keeps showing the current row.
        m_ds->append();
        QCOMPARE(m_name->text(), QString());
        QCOMPARE(m_price->text(), QString());
        m_ds->cancel();
        m_ds->setSortText(QStringLiteral("name DESC"));
        QCOMPARE(m_name->text(), m_ds->value(QStringLiteral("name")).toString());
        // Closed: nothing to show and nothing to type into.
        m_ds->close();
        QCOMPARE(m_name->text(), QString());
        QVERIFY(m_name->isReadOnly());
        QVERIFY(m_memo->isReadOnly());
        m_ds->open();
        QVERIFY(!m_name->isReadOnly());
        QCOMPARE(m_name->text(), QStringLiteral("螺丝"));
    }

    void typingEditsTheRecord_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        // Text before the typed keys is selected away.
        QTest::newRow("text") << "name" << "垫圈" << "name" << "垫圈";
        QTest::newRow("money") << "price" << "¥1,000.125" << "price" << "1000.125";
        QTest::newRow("full-width digits") << "price" << "１２" << "price" << "12";
        QTest::newRow("date") << "day" << "2025/1/2" << "day" << "2025-01-02 00:00:00";
        QTest::newRow("cleared money") << "price" << "" << "price" << "";
    }
    void typingEditsTheRecord()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        auto *edit = m_window->findChild<DbLineEdit *>();
        for (DbLineEdit *e : m_window->findChildren<DbLineEdit *>())
            if (e->dataLink()->fieldName() == control)
                edit = e;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        kvl::testing::typeText(edit, typed);
        // The first key put the browsing dataset into edit state, as Delphi's controls do.
        QCOMPARE(m_ds->state(), Dataset::State::Edit);
        m_other->setFocus(Qt::TabFocusReason);
        QVERIFY(m_ds->modified());
        QCOMPARE(m_ds->value(field).isNull() ? QString() : m_ds->value(field).toString(), stored);
        m_ds->post();
        m_ds->close();
        m_ds->open();
        QCOMPARE(m_ds->value(field).isNull() ? QString() : m_ds->value(field).toString(), stored);
    }

    void badInputIsRefusedAndKeptAsTyped_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("corrected");
        QTest::newRow("letters") << "price" << "abc" << "price：“abc”不是有效的金额。" << "3.5";
        QTest::newRow("two points") << "price" << "1.2.3" << "price：“1.2.3”不是有效的金额。" << "1.23";
        QTest::newRow("integer with decimals") << "qty" << "1.5" << "qty：“1.5”不是有效的整数。" << "15";
        QTest::newRow("no such day") << "day" << "2024-02-30" << "day：“2024-02-30”不是有效的日期。" << "2024-02-28";
    }
    void badInputIsRefusedAndKeptAsTyped()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, corrected);
        auto *qty = new DbNumericEdit;
        m_window->layout()->addWidget(qty);
        qty->bind(m_ds, QStringLiteral("qty"));
        qty->show();
        DbLineEdit *edit = control == "price" ? static_cast<DbLineEdit *>(m_price)
                         : control == "qty"   ? static_cast<DbLineEdit *>(qty)
                                              : static_cast<DbLineEdit *>(m_day);
        const Value before = m_ds->value(control);
        MessageRecorder rec;
        edit->setFocus();
        edit->selectAll();
        kvl::testing::typeText(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rec.texts(), QStringList{message});
        // The text stays for the user to correct, the record keeps its value, the focus stays.
        QCOMPARE(edit->text(), typed);
        QCOMPARE(m_ds->value(control), before);
        QVERIFY(edit->hasFocus());
        QVERIFY(!edit->dataLink()->updateRecord());
        QCOMPARE(rec.texts().size(), 2);
        // Corrected, it goes in.
        edit->selectAll();
        kvl::testing::typeText(edit, corrected);
        QVERIFY(edit->dataLink()->updateRecord());
        QCOMPARE(rec.texts().size(), 2);
        QVERIFY(m_ds->value(control) != before);
    }

    void textLengthFollowsTheField()
    {
        QCOMPARE(m_name->maxLength(), 6);
        m_name->setFocus();
        m_name->selectAll();
        kvl::testing::typeText(m_name, QStringLiteral("一二三四五六七八"));
        QCOMPARE(m_ds->value(QStringLiteral("name")).toString(), QStringLiteral("一二三四五六"));
        // A longer value from elsewhere is shown whole, for post to refuse and the user to shorten.
        m_ds->setValue(QStringLiteral("name"), Value(QStringLiteral("一二三四五六七八")));
        QCOMPARE(m_name->text(), QStringLiteral("一二三四五六七八"));
        QVERIFY_THROWS_EXCEPTION(DbError, m_ds->post());
        QCOMPARE(m_ds->state(), Dataset::State::Edit);

        m_memo->setFocus();
        m_memo->selectAll();
        kvl::testing::typeText(m_memo, QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑寅卯"));
        QCOMPARE(m_memo->maxLength(), 12);
        QCOMPARE(m_ds->value(QStringLiteral("memo")).toString(), QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑"));
        QCOMPARE(m_memo->toPlainText(), QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑"));
    }

    void readOnlyFieldsCannotBeTyped()
    {
        QVERIFY(m_fixed->isReadOnly());
        kvl::testing::typeText(m_fixed, QStringLiteral("x"));
        QCOMPARE(m_fixed->text(), QStringLiteral("甲"));
        QCOMPARE(m_ds->state(), Dataset::State::Browse);

        auto *flag = new DbCheckBox(QStringLiteral("只读"));
        m_window->layout()->addWidget(flag);
        FieldDef f = def("flag", ValueType::Boolean);
        f.readOnly = true;
        m_ds->close();
        QList<FieldDef> defs = m_ds->fieldDefs();
        for (FieldDef &d : defs)
            if (d.name == "flag")
                d = f;
        m_ds->setFieldDefs(defs);
        m_ds->open();
        flag->bind(m_ds, QStringLiteral("flag"));
        flag->show();
        QVERIFY(flag->isChecked());
        QTest::mouseClick(flag, Qt::LeftButton, {}, QPoint(6, flag->height() / 2));
        QVERIFY(flag->isChecked());
        QCOMPARE(m_ds->state(), Dataset::State::Browse);
    }

    void checkBoxStoresTrueAndFalse()
    {
        m_ds->next();
        QTest::mouseClick(m_flag, Qt::LeftButton, {}, QPoint(6, m_flag->height() / 2));
        QCOMPARE(m_ds->state(), Dataset::State::Edit);
        QCOMPARE(m_ds->value(QStringLiteral("flag")), Value::boolean(true));
        QTest::keyClick(m_flag, Qt::Key_Space);
        QCOMPARE(m_ds->value(QStringLiteral("flag")), Value::boolean(false));
        QVERIFY(!m_flag->isChecked());
        m_ds->post();
        QCOMPARE(stored("flag", 2).toInt(), 0);
    }

    void memoWritesEveryChangeAndEnterCanMoveOn()
    {
        m_memo->setFocus();
        QTest::keyClick(m_memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(m_memo, Qt::Key_Return);
        kvl::testing::typeText(m_memo, QStringLiteral("第二"));
        QCOMPARE(m_ds->value(QStringLiteral("memo")).toString(), QStringLiteral("第一行\n第二"));
        m_memo->setEnterMovesFocus(true);
        QTest::keyClick(m_memo, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_ds->value(QStringLiteral("memo")).toString(), QStringLiteral("第一行\n第二\n"));
        QTest::keyClick(m_memo, Qt::Key_Return);
        QVERIFY(!m_memo->hasFocus());
        QCOMPARE(m_ds->value(QStringLiteral("memo")).toString(), QStringLiteral("第一行\n第二\n"));
    }

    void buttonEditPressedByF4DoubleClickAndButton_data()
    {
        QTest::addColumn<bool>("dataAware");
        QTest::newRow("plain") << false;
        QTest::newRow("data-aware") << true;
    }
    void buttonEditPressedByF4DoubleClickAndButton()
    {
        QFETCH(bool, dataAware);
        QLineEdit *edit = nullptr;
        EditButton *button = nullptr;
        std::unique_ptr<QSignalSpy> spy;
        if (dataAware) {
            auto *b = new DbButtonEdit;
            b->bind(m_ds, QStringLiteral("name"));
            spy = std::make_unique<QSignalSpy>(b, &DbButtonEdit::buttonClicked);
            edit = b;
            button = b->button();
        } else {
            auto *b = new ButtonEdit;
            spy = std::make_unique<QSignalSpy>(b, &ButtonEdit::buttonClicked);
            edit = b;
            button = b->button();
        }
        m_window->layout()->addWidget(edit);
        edit->show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F4);
        QCOMPARE(spy->count(), 1);
        QTest::mouseDClick(edit, Qt::LeftButton);
        QCOMPARE(spy->count(), 2);
        button->action()->trigger();
        QCOMPARE(spy->count(), 3);
        // Enter belongs to the edit only when asked for; F4 with a modifier is not the button key.
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_F4, Qt::AltModifier);
        QCOMPARE(spy->count(), 3);
        button->setEnterTriggers(true);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(spy->count(), 4);
        // A disabled box is not pressed.
        edit->setEnabled(false);
        button->trigger();
        QCOMPARE(spy->count(), 4);
        if (dataAware) {
            edit->setEnabled(true);
            m_ds->close();
            QTest::keyClick(edit, Qt::Key_F4);
            QCOMPARE(spy->count(), 4);
        }
    }

    void accessibleNameFromBuddyLabel()
    {
        auto *label = new QLabel(QStringLiteral("备注："), m_window);
        AccessibleBuddy::attach(label, m_memo);
        QCOMPARE(label->buddy(), m_memo);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(m_memo);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("备注"));
        label->setText(QStringLiteral("商品&类别"));
        AccessibleBuddy::attach(label, m_name);
        QCOMPARE(QAccessible::queryAccessibleInterface(m_name)->text(QAccessible::Name), QStringLiteral("商品类别"));
    }
};

QTEST_MAIN(TestDataControls)
#include "test_data_controls.moc"
