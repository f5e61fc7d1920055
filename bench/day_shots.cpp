// A clerk's day in the real main window, photographed step by step: the
// business window opened from the side bar, a partner picked by a typed name
// prefix and Enter, a shipment and a purchase of three goods lines each typed
// in and saved, the shipment opened again and printed, a settlement of both,
// the settled shipment looked at.
// Keys go through QTest; nested modal loops are answered with ModalHandlers.
// Run it under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x800x24" day_shots OUT [DIR]
#include "ButtonEdit.h"
#include "DbEdit.h"
#include "Connection.h"
#include "DataGrid.h"
#include "DocumentsWindows.h"
#include "MasterDataWindows.h"
#include "MasterListWindow.h"
#include "ModalHandlers.h"
#include "ProgramValues.h"
#include "ReportTemplates.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "StatisticsWindows.h"
#include "WorkingWindows.h"
#include "datakvl.h"
#include "main.h"
#include "yw.h"
#include "yw_jch.h"
#include "yw_jz.h"
#include "yw_jz_sfkd.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <cstdio>

using namespace kvl;

namespace {

QString g_out;
int g_shot = 0;
bool g_ok = true;

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(40);
    }
}

void shoot(const QString &name)
{
    settle();
    const QString file = g_out + QStringLiteral("/%1_%2.png").arg(++g_shot, 2, 10, QLatin1Char('0')).arg(name);
    const int rc = QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    QWidget *f = QApplication::focusWidget();
    std::fflush(stdout);
    std::printf("%s %s focus=%s(%s)\n", qPrintable(file), rc == 0 ? "written" : "NOT written",
                f ? f->metaObject()->className() : "none", f ? qPrintable(f->objectName()) : "");
    g_ok = g_ok && rc == 0;
}

void say(const char *what)
{
    std::printf("-- %s\n", what);
    std::fflush(stdout);
}

QLineEdit *cellEditor(DataGrid *g)
{
    for (QLineEdit *e : g->viewport()->findChildren<QLineEdit *>())
        if (e->isVisible() && e->objectName() != QLatin1String("CellTypeIn"))
            return e;
    return nullptr;
}

// Types digits into the grid's current cell as a clerk does: typing opens the
// cell editor, Tab leaves it.
void typeInto(DataGrid *g, const QString &text)
{
    // Keys go where the keyboard goes: the cell editor when the cell is already
    // in editing, otherwise the grid, whose first key opens it.
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : g;
    QTest::keyClicks(target, text.left(1));
    QCoreApplication::processEvents();
    QLineEdit *e = cellEditor(g);
    if (!e) {
        std::printf("   no cell editor for %s in column %s\n", qPrintable(text), qPrintable(g->fieldNameOf(g->currentColumn())));
        return;
    }
    QTest::keyClicks(e, text.mid(1));
    QTest::keyClick(e, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

ModalHandlers::Handler pickCode(const QString &field, const QString &code)
{
    return [=](QDialog &d) {
        auto &list = static_cast<MasterListWindow &>(d);
        list.dataset()->locate(field, Value(code));
        shoot(QStringLiteral("goods_picker_") + code);
        list.BSelectClick();
    };
}

// Three goods lines: name picked with Enter, quantity and price typed.
void typeLines(TFMyw_jch &ed, ModalHandlers &h, const QStringList &codes, const QStringList &sl, const QStringList &dj)
{
    DataGrid *g = ed.Grid;
    for (int i = 0; i < codes.size(); ++i) {
        std::printf("   line %d at column %s\n", i + 1, qPrintable(g->fieldNameOf(g->currentColumn())));
        h.enqueue(pickCode(QStringLiteral("商品编号"), codes[i]));
        g->setFocus(Qt::MouseFocusReason); // the clerk clicks into the lines
        g->setCurrentColumn(g->columnOfField(QStringLiteral("kcsp_spmc")));
        QTest::keyClick(g, Qt::Key_Return);
        QCoreApplication::processEvents();
        std::printf("   after pick at column %s\n", qPrintable(g->fieldNameOf(g->currentColumn())));
        g->setCurrentColumn(g->columnOfField(QStringLiteral("sl")));
        typeInto(g, sl[i]);
        std::printf("   after sl at column %s\n", qPrintable(g->fieldNameOf(g->currentColumn())));
        if (g->fieldNameOf(g->currentColumn()) != QLatin1String("dj"))
            g->setCurrentColumn(g->columnOfField(QStringLiteral("dj")));
        typeInto(g, dj[i]);
        if (i + 1 < codes.size()) {
            // Tab on through the remaining cells to the next line.
            for (int k = 0; k < 6 && DataModKvl->DataKcmx.currentIndex() == i; ++k) {
                QTest::keyClick(g, Qt::Key_Tab);
                QCoreApplication::processEvents();
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: day_shots OUT [DIR]\n");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(g_out);
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : g_out;
    AppDir = QDir(dir).absolutePath() + u'/';
    const QString file = AppDir + QStringLiteral("KVL.DTA");
    if (!QFileInfo::exists(file)) {
        Schema::createDataFile(file, QStringLiteral("样本公司"));
        Connection c;
        c.connect(file, Schema::databasePassword());
        SampleData::write(c, SampleData::small());
        ReportTemplates::store(c);
    }
    new TDataModKvl;
    if (!DbConnected)
        return 1;
    RegisterDocumentsWindows();
    RegisterStatisticsWindows();
    RegisterMasterDataWindows();

    auto *main = new TFMmain;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        main->setGeometry(screen->availableGeometry());
    main->showMaximized();
    settle();

    say("办理业务");
    main->dxSideBar1ItemClick(0);
    auto *w = qobject_cast<TFMyw *>(WorkingWindows::window(0));
    if (!w)
        return 1;
    shoot(QStringLiteral("business"));

    say("partner by prefix");
    QString name;
    {
        Statement st(DataModKvl->ConKVL, QStringLiteral("SELECT 单位名称 FROM 往来单位 WHERE id=1"));
        if (st.next())
            name = st.value(0).toString();
    }
    w->dw->setFocus();
    QInputMethodEvent ime;
    ime.setCommitString(name.left(2));
    QCoreApplication::sendEvent(w->dw, &ime);
    shoot(QStringLiteral("partner_typed"));
    {
        ModalHandlers h;
        h.enqueue([](QDialog &d) {
            shoot(QStringLiteral("partner_picker"));
            static_cast<MasterListWindow &>(d).BSelectClick();
        });
        QTest::keyClick(w->dw, Qt::Key_Return);
    }
    shoot(QStringLiteral("partner_chosen"));

    QString numbers[2];
    const DocumentKind kinds[2] = {DocumentKind::Shipment, DocumentKind::Purchase};
    for (int k = 0; k < 2; ++k) {
        say(k == 0 ? "shipment" : "purchase");
        ModalHandlers h;
        h.enqueue([&, k](QDialog &d) {
            auto &ed = static_cast<TFMyw_jch &>(d);
            shoot(k == 0 ? QStringLiteral("shipment_new") : QStringLiteral("purchase_new"));
            numbers[k] = ed.dh->text();
            if (k == 0)
                typeLines(ed, h, {QStringLiteral("SP00002"), QStringLiteral("SP00011"), QStringLiteral("SP00007")},
                          {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("12")},
                          {QStringLiteral("2.5"), QStringLiteral("25"), QStringLiteral("10")});
            else
                typeLines(ed, h, {QStringLiteral("SP00001"), QStringLiteral("SP00003"), QStringLiteral("SP00005")},
                          {QStringLiteral("10"), QStringLiteral("4"), QStringLiteral("1")},
                          {QStringLiteral("1.2"), QStringLiteral("7.5"), QStringLiteral("99")});
            shoot(k == 0 ? QStringLiteral("shipment_typed") : QStringLiteral("purchase_typed"));
            ed.Bsave->click();
            if (ed.isVisible()) {
                shoot(QStringLiteral("not_saved"));
                ed.QDialog::done(2);
            }
        });
        (k == 0 ? w->PMysk : w->PMyfk)->trigger();
        Q_UNUSED(kinds);
        shoot(k == 0 ? QStringLiteral("after_shipment") : QStringLiteral("after_purchase"));
    }

    say("edit shipment and print");
    if (DataModKvl->DataSfk.locate(QStringLiteral("单号"), Value(numbers[0]))) {
        ModalHandlers h;
        h.enqueue([&](QDialog &d) {
            auto &ed = static_cast<TFMyw_jch &>(d);
            shoot(QStringLiteral("shipment_edit"));
            h.enqueue([](QDialog &p) {
                shoot(QStringLiteral("preview"));
                p.accept();
            });
            ed.Bprint->click();
            if (ed.isVisible()) {
                shoot(QStringLiteral("after_print"));
                ed.QDialog::done(2);
            }
        });
        w->BeditClick();
    } else {
        std::printf("shipment %s not in the list\n", qPrintable(numbers[0]));
    }
    say("settlement");
    {
        ModalHandlers h;
        h.enqueue([&](QDialog &d) {
            auto &ed = static_cast<TFMyw_jz &>(d);
            shoot(QStringLiteral("settlement_new"));
            for (const QString &n : numbers) {
                h.enqueue([n](QDialog &p) {
                    auto *s = qobject_cast<TFMyw_jz_sfkd *>(&p);
                    if (!s) {
                        p.reject();
                        return;
                    }
                    s->dataset().locate(QStringLiteral("单号"), Value(n));
                    shoot(QStringLiteral("settlement_picker"));
                    s->BSelect->click();
                });
                ed.N1->trigger();
            }
            shoot(QStringLiteral("settlement_typed"));
            ed.Bsave->click();
            if (ed.isVisible()) {
                shoot(QStringLiteral("settlement_not_saved"));
                ed.QDialog::done(2);
            }
        });
        w->PMjz->trigger();
    }
    shoot(QStringLiteral("after_settlement"));

    // The settled shipment in view only.
    w->CheckJZ->click(); // 显示已结帐单据
    settle();
    if (DataModKvl->DataSfk.locate(QStringLiteral("单号"), Value(numbers[0]))) {
        ModalHandlers h;
        h.enqueue([](QDialog &d) {
            shoot(QStringLiteral("settled_shipment"));
            d.reject();
        });
        w->BeditClick();
    }
    shoot(QStringLiteral("end"));
    main->closeWithoutQuestion();
    return g_ok ? 0 : 1;
}
