#pragma once

#include <QValidator>

// The answer boxes hold digits and nothing else, whatever way the text arrives: typed, pasted by
// keys or from the context menu, pasted with the middle button, or dropped. The key filter stops
// the keys; this validator sees every change of the text and keeps only its digits (so a pasted
// "12 " or "1,200" becomes "12" or "1200", and pasted words are dropped altogether).
class AnswerValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    // Removes every character but 0-9 from input, moving pos back past the removed ones before it.
    // Always Acceptable: what is left is digits only, or empty.
    State validate(QString &input, int &pos) const override;
};
