#pragma once

#include "ExamControls.h"
#include "ExamSession.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class form_main;
}
class AnswerKeyFilter;
class QMessageBox;

// The exam window: built from its form definition, it wires each control's event to the
// handler named after the control and the event, and gives the exam logic its narrow view of
// the controls.
class Tform_main : public QWidget, public ExamControls
{
    Q_OBJECT

public:
    explicit Tform_main(ExamSession::SecondsClock clock = &ExamSession::systemSeconds,
                        QWidget *parent = nullptr);
    ~Tform_main() override;

    // Look-up of a control by name; nullptr when no control bears it.
    template <typename T = QWidget>
    T *control(const QString &name) const
    {
        return name.isEmpty() ? nullptr : findChild<T *>(name);
    }

    QTimer *time_main() const { return m_timeMain; }
    // From start to hand-in (by button or time-up) the clock runs.
    bool isExamRunning() const { return m_timeMain->isActive(); }

    // ExamControls
    QString labelCaption(const QString &name) const override;
    void setLabelCaption(const QString &name, const QString &caption) override;
    void setLabelColor(const QString &name, const QColor &color) override;
    QString editText(const QString &name) const override;
    void setEditText(const QString &name, const QString &text) override;
    void focusEdit(const QString &name) override;
    bool isRadioChecked(const QString &name) const override;
    QString comboText(const QString &name) const override;
    void setButtonEnabled(const QString &name, bool enabled) override;
    void setButtonVisible(const QString &name, bool visible) override;
    void setPanelCaption(const QString &name, const QString &caption) override;
    void setActivePage(const QString &pageName) override;
    void setTimerEnabled(bool enabled) override;

public slots:
    void FormCreate();
    void button_beginClick();
    void button_exitClick();
    void button_okClick();
    void time_mainTimer();
    void edit_timeChange(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Every way of leaving (the exit button, the title bar, Alt+F4, the window manager) ends
    // here: a running exam is left only when the pupil confirms it.
    void closeEvent(QCloseEvent *event) override;

private:
    void connectHandlers();
    // Makes exam page 1..5 the active page and puts the focus in its first answer box.
    void showPage(int page);
    // Enter in an answer box: the next box, or at the end of a page its "下一页" or "我要交卷".
    void moveOnFrom(QWidget *answerBox);
    void focusScore();
    // The skinned frame's title bar: its caption font and its three buttons.
    void styleFrame();
    void placePictures();
    // Asks before a running exam is left; true when the window may close.
    bool mayLeave();

    std::unique_ptr<Ui::form_main> m_ui;
    QTimer *m_timeMain = nullptr;
    AnswerKeyFilter *m_keyFilter = nullptr;
    ExamSession m_session;
    // The leave question while it is open.
    QPointer<QMessageBox> m_leaveQuestion;
};
