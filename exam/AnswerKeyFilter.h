#pragma once

#include <QObject>

// The key filter of the answer boxes: of the keys that type a character, only the digits 0-9
// and backspace get through. Blanks, signs, points, letters, other control characters and every
// code above 127 are dropped; Tab still moves between the boxes, and Delete, the cursor keys and
// the editing shortcuts (Ctrl+V, Ctrl+Z ...), which type nothing, still edit. Enter types nothing
// either: it is reported (enterPressed) so that the window can move on to the next answer. What a
// paste brings in is left to the boxes' validator (AnswerValidator).
class AnswerKeyFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The character as the box is to receive it, or the null character when it is dropped.
    static QChar filterCharacter(QChar typed);

    // Installs the filter on an answer box, which also stops input methods from composing text
    // past it.
    void watch(QWidget *answerBox);

Q_SIGNALS:
    // Enter or Return, with no Ctrl, Alt or Meta, was pressed in a watched box.
    void enterPressed(QWidget *answerBox);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
