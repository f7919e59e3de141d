#pragma once

// What the data-aware control tests share: the school database opened on the pupils table behind
// a data source, a shown window for the controls, and the error box and beep caught.

#include "KAVDataSet.h"
#include "KAVEdit.h"
#include "KAVErrorBox.h"
#include "kav_db_fixture.h"

#include <QFile>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <memory>

namespace KavTest {

class BoundPupils {
public:
    BoundPupils()
    {
        m_previousErrorBox = Kav::KavSetErrorBoxHandler([this](QWidget *, const QString &text) {
            errors.append(text);
        });
        m_previousBeep = Kav::KavSetBeepHandler([this](QWidget *) { ++beeps; });
        openPupils();
        window.resize(400, 300);
    }
    ~BoundPupils()
    {
        Kav::KavSetErrorBoxHandler(m_previousErrorBox);
        Kav::KavSetBeepHandler(m_previousBeep);
    }
    BoundPupils(const BoundPupils &) = delete;
    BoundPupils &operator=(const BoundPupils &) = delete;

    // The pupils in id order; the source stays the same, the data set is made again.
    void openPupils()
    {
        dataSet = std::make_unique<TkavDataSet>();
        dataSet->setDatabase(db.database());
        dataSet->setTableName(QStringLiteral("pupils"));
        dataSet->setIndexFieldNames(QStringLiteral("id"));
        dataSet->setLockTimeout(50);
        QVERIFY2(dataSet->Open(), qPrintable(dataSet->LastError()));
        source->setDataSet(dataSet.get());
    }

    // The database file can no longer be written; the data set reads it again through a new
    // connection that knows so.
    void makeFileReadOnly()
    {
        QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QSqlDatabase connection = db.database();
        connection.close();
        connection.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50;QSQLITE_OPEN_READONLY"));
        QVERIFY(connection.open());
        openPupils();
    }

    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    QVariant stored(const QString &column, int id) const
    {
        return db.readBack(QStringLiteral("SELECT %1 FROM pupils WHERE id = %2").arg(column).arg(id));
    }

    SchoolDatabase db;
    std::unique_ptr<TkavDataSet> dataSet;
    std::unique_ptr<TkavDataSource> source = std::make_unique<TkavDataSource>();
    QWidget window;
    QStringList errors;
    int beeps = 0;

private:
    Kav::ErrorBoxHandler m_previousErrorBox;
    Kav::BeepHandler m_previousBeep;
};

} // namespace KavTest
