#include "AnswerKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

QChar AnswerKeyFilter::filterCharacter(QChar typed)
{
    const char16_t code = typed.unicode();
    if ((code >= u'0' && code <= u'9') || code == 8)
        return typed;
    return QChar(0);
}

void AnswerKeyFilter::watch(QWidget *answerBox)
{
    answerBox->setAttribute(Qt::WA_InputMethodEnabled, false);
    answerBox->installEventFilter(this);
}

bool AnswerKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (auto *box = qobject_cast<QWidget *>(watched))
            Q_EMIT enterPressed(box);
        return true;
    }
    // Backspace and Delete edit the box. Delete types no character, though X reports it with
    // the text "\x7f", which the character test alone would drop.
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return false;
    // Shortcuts (Ctrl+V, Ctrl+Z, Ctrl+A ...) type nothing either; what a paste brings in is
    // checked by the answer box's validator.
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.isEmpty())
        return false; // cursor keys and the like type nothing
    for (const QChar c : text) {
        if (filterCharacter(c).isNull())
            return true;
    }
    return false;
}
