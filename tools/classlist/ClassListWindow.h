#pragma once

#include "KAVThemes.h"

#include <QWidget>

class ClassListDatabase;
class QActionGroup;
class QLabel;
class TkavDataSet;
class TkavDataSource;
class TkavDBGrid;
class TkavDBNavigator;

// The class list: a grid of the pupils with the navigator under it, and the current pupil's card
// beside it (name, class, photo, last score, whether passed, seat, favourite sums, notes), every
// field in a data-aware skinned control. The Look menu switches all of it between the five looks.
// When the tables cannot be opened (another program holds the file locked, say), a line at the
// top says why and what to do, with a button to try again.
class ClassListWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize WindowSize{940, 640};

    explicit ClassListWindow(ClassListDatabase &database, TkavUIStyle look = TkavUIStyle::MacOS, QWidget *parent = nullptr);

    // Whether both tables opened; problem() says why not, for the user.
    bool isOpen() const;
    QString problem() const;
    // Prepares the file and opens the tables (again); whether they are open now.
    bool openTables();

    void showLook(TkavUIStyle look);
    TkavUIStyle look() const { return m_look; }

    TkavDataSet *pupils() const { return m_pupils; }
    TkavDBNavigator *navigator() const { return m_navigator; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void makeMenu();
    QWidget *makeProblemLine(QWidget *parent);
    void showProblem(const QString &message, const QString &detail);
    QWidget *makeCard(QWidget *parent);
    void showGridColumns();

    ClassListDatabase &m_database;
    QWidget *m_problemLine = nullptr;
    QLabel *m_problemText = nullptr;
    TkavDataSet *m_pupils = nullptr;
    TkavDataSet *m_classes = nullptr;
    TkavDataSource *m_pupilSource = nullptr;
    TkavDataSource *m_classSource = nullptr;
    TkavDBGrid *m_grid = nullptr;
    TkavDBNavigator *m_navigator = nullptr;
    QActionGroup *m_lookActions = nullptr;
    TkavUIStyle m_look = TkavUIStyle::MacOS;
};
