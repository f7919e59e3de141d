#include "ExamLeaveQuestion.h"

#include "ExamApplication.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace ExamLeaveQuestion {

QMessageBox *create(QWidget *parent)
{
    auto *box = new QMessageBox(QMessageBox::Question, ApplicationTitle, Text,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName(QStringLiteral("leave_question"));
    // The program speaks Chinese whether or not Qt's own translation is installed.
    box->button(QMessageBox::Yes)->setText(YesText);
    box->button(QMessageBox::No)->setText(NoText);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    // A screen reader names the alert after what it asks, not after the program.
    box->setAccessibleName(QStringLiteral("退出考场"));
    box->setAccessibleDescription(Text);
    return box;
}

} // namespace ExamLeaveQuestion
