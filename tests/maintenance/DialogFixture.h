// What the maintenance dialog tests share: a real data file with the small
// sample business in a folder that serves as AppDir, a data module on it, a
// recorder of the progress window's texts, and reading the file's content.
#pragma once

#include "Connection.h"
#include "ProgramValues.h"
#include "ProgressIndicator.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "datakvl.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>

namespace kvl::dialogtest {

// The progress window as the operations drive it: every text shown, in order.
class ProgressLog : public ProgressIndicator
{
public:
    ProgressLog() { ProgressIndicator::setCurrent(this); }
    ~ProgressLog() override { ProgressIndicator::setCurrent(nullptr); }
    void showProgress(const QString &text) override
    {
        m_shown = true;
        m_text = text;
        if (texts.isEmpty() || texts.last() != text)
            texts << text;
    }
    void hideProgress() override { m_shown = false; }
    bool isProgressShown() const override { return m_shown; }
    QString progressText() const override { return m_text; }
    QStringList texts;

private:
    bool m_shown = false;
    QString m_text;
};

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// A data file with the tables, the PH row and, unless `empty`, the small sample.
inline void makeDataFile(const QString &path, const QString &company, bool empty = false, quint64 seed = 20261211)
{
    Schema::createDataFile(path, company);
    if (empty)
        return;
    Connection c;
    c.connect(path, Schema::databasePassword());
    SampleData::Shape shape = SampleData::small();
    shape.lastDay = QDate(2026, 6, 30);
    shape.seed = seed;
    SampleData::write(c, shape);
}

inline void execOn(const QString &path, const QString &sql)
{
    Connection c;
    c.connect(path, Schema::databasePassword());
    c.exec(sql);
}

inline Connection &current() { return DataModKvl->ConKVL; }

inline qint64 scalar(Connection &c, const QString &sql)
{
    Statement st(c, sql);
    return st.next() && !st.isNull(0) ? st.int64(0) : -1;
}

inline QString textOf(Connection &c, const QString &sql)
{
    Statement st(c, sql);
    return st.next() ? st.text(0) : QString();
}

inline QList<qint64> ids(Connection &c, const QString &sql)
{
    QList<qint64> r;
    Statement st(c, sql);
    while (st.next())
        r << st.int64(0);
    return r;
}

// Every row of the ten imported tables, by key, with every column as stored.
inline QByteArray businessDigest(Connection &c)
{
    static const char *const queries[] = {
        "SELECT * FROM 公司员工 ORDER BY id", "SELECT 拼音简码, 计量单位 FROM 计量单位 ORDER BY 2, 1",
        "SELECT 拼音简码, 商品产地 FROM 商品产地 ORDER BY 2, 1", "SELECT 拼音简码, 商品类别 FROM 商品类别 ORDER BY 2, 1",
        "SELECT * FROM 商品资料 ORDER BY id", "SELECT * FROM 往来单位 ORDER BY id", "SELECT * FROM sfk ORDER BY id",
        "SELECT * FROM kcmx ORDER BY id", "SELECT * FROM jzmx ORDER BY id",
        "SELECT dw, zg, sp, sfk, dh_ysk, dh_yfk, dh_sk, UserName, pass FROM PH"};
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char *sql : queries) {
        Statement st(c, QString::fromUtf8(sql));
        while (st.next())
            for (int i = 0; i < st.columnCount(); ++i)
                h.addData(QByteArray::number(st.columnEngineType(i)) + st.value(i).toString().toUtf8() + '\x1f');
        h.addData("\x1e");
    }
    return h.result();
}

// Handlers for the login dialog the maintenance dialog shows.
inline std::function<void(QDialog &)> typePassword(const QString &password, QString *caption = nullptr)
{
    return [password, caption](QDialog &d) {
        if (caption)
            *caption = d.windowTitle();
        d.findChild<QLineEdit *>(QStringLiteral("kllr"))->setText(password);
        d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
    };
}

inline std::function<void(QDialog &)> cancelLogin()
{
    return [](QDialog &d) { d.findChild<QPushButton *>(QStringLiteral("Breturn"))->click(); };
}

} // namespace kvl::dialogtest

namespace kvl::dialogtest {

// A folder serving as AppDir with KVL.DTA and a data module on it, made again
// for every test function.
class AppFolder
{
public:
    void setUp(bool empty = false)
    {
        static int n = 0;
        m_dir = m_root.filePath(QStringLiteral("app%1/").arg(++n));
        QDir().mkpath(m_dir);
        AppDir = m_dir;
        LoginPassword.clear();
        CompanyName.clear();
        makeDataFile(data(), QStringLiteral("杭州测试商行"), empty);
        new TDataModKvl;
    }
    void tearDown() { delete DataModKvl; }

    QString dir() const { return m_dir; }
    QString data() const { return m_dir + QStringLiteral("KVL.DTA"); }
    QString path(const QString &name) const { return m_root.filePath(name); }

    // The data file's bytes as they are with the data module released.
    QByteArray closedBytes()
    {
        delete DataModKvl;
        const QByteArray b = fileBytes(data());
        new TDataModKvl;
        return b;
    }

private:
    QTemporaryDir m_root;
    QString m_dir;
};

} // namespace kvl::dialogtest
