#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// The question asked before a running exam is left, built like the program's other messages
// (its title, Chinese buttons). "否" is both the default and the Escape button, so that a stray
// Enter or Space, or Escape, keeps the exam.
namespace ExamLeaveQuestion {

inline const QString Text = QStringLiteral("考试还没有交卷，确定要退出吗？");
inline const QString YesText = QStringLiteral("是(&Y)");
inline const QString NoText = QStringLiteral("否(&N)");

// The caller owns the box and runs it; exec() answers QMessageBox::Yes to leave.
QMessageBox *create(QWidget *parent);

} // namespace ExamLeaveQuestion
