#pragma once

#include "KAVThemes.h"

#include <QSqlDatabase>
#include <QWidget>

class QActionGroup;
class TkavDataSet;
class TkavDataSource;
class TkavDBGrid;
class TkavDBNavigator;

// The class list: a grid of the pupils with the navigator under it, and the current pupil's card
// beside it (name, class, photo, last score, whether passed, seat, favourite sums, notes), every
// field in a data-aware skinned control. The Look menu switches all of it between the five looks.
class ClassListWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize WindowSize{940, 640};

    explicit ClassListWindow(const QSqlDatabase &database, TkavUIStyle look = TkavUIStyle::MacOS, QWidget *parent = nullptr);

    // Whether both tables opened; error() says why not.
    bool isOpen() const;
    QString error() const;

    void showLook(TkavUIStyle look);
    TkavUIStyle look() const { return m_look; }

    TkavDataSet *pupils() const { return m_pupils; }
    TkavDBNavigator *navigator() const { return m_navigator; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void makeMenu();
    QWidget *makeCard(QWidget *parent);
    void showGridColumns();

    TkavDataSet *m_pupils = nullptr;
    TkavDataSet *m_classes = nullptr;
    TkavDataSource *m_pupilSource = nullptr;
    TkavDataSource *m_classSource = nullptr;
    TkavDBGrid *m_grid = nullptr;
    TkavDBNavigator *m_navigator = nullptr;
    QActionGroup *m_lookActions = nullptr;
    TkavUIStyle m_look = TkavUIStyle::MacOS;
};
