#pragma once

#include <QObject>

#include <functional>
#include <vector>

class ExamControls;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

// What a screen reader needs of the exam window, kept apart from the exam's logic: each answer
// box is named after its question and tied to the labels that show it; after marking, its
// description (and its mark's tooltip) tells the mark and the right answer; the score line and
// the page number are announced when they appear.
//
// It follows the exam through the hand-in button, which the exam enables once the questions are
// filled and disables once every row is marked and the score is shown, whatever started or
// ended it (button, keys or the clock).
class ExamAccessibility : public QObject
{
    Q_OBJECT

public:
    // Installs on the exam window; the window owns the result.
    static ExamAccessibility *install(QWidget &window, const ExamControls &controls);

    ExamAccessibility(QWidget &window, const ExamControls &controls);

    // Makes a label an announcement: screen readers are told its text whenever announce() is
    // called for it, also when they had met the label before as plain text.
    static void makeAnnouncer(QLabel *label);
    static void announce(QLabel *label);

    // Where announcements go: announce() unless replaced (tests record them, since assistive
    // events are dropped while no assistive tool listens).
    using Announcer = std::function<void(QLabel *)>;
    void setAnnouncer(Announcer announcer) { m_announce = std::move(announcer); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tieRowLabels();
    void nameQuestions();
    void describeMarks();

    struct Row {
        int number = 0;
        QLineEdit *box = nullptr;
        QLabel *mark = nullptr;
    };

    QWidget &m_window;
    const ExamControls &m_controls;
    std::vector<Row> m_rows;
    QAbstractButton *m_handIn = nullptr;
    bool m_examRunning = false;
    Announcer m_announce = &ExamAccessibility::announce;
};
