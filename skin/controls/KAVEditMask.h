#pragma once

#include <QChar>
#include <QString>

namespace Kav {

// An edit mask in the classic notation, "mask;save literals;blank", as QLineEdit takes it.
//
// The classic mask characters and what they become:
//
//   classic  meaning                                  Qt input mask
//   L l      letter, required / optional              A a
//   A a      letter or digit, required / optional     N n
//   C c      any character, required / optional       X x (Qt refuses blanks there)
//   0 9      digit, required / optional               9 0
//   #        digit or sign, optional                  #
//   > < <>   upper case / lower case / as typed       > < !
//   \x       x as a literal                           \x
//   _        a blank shown as part of the mask        a literal blank
//   : /      time and date separators                 the literal ':' and '/'
//   !        optional characters kept as leading      (no counterpart: dropped)
//            blanks rather than trailing ones
//   other    literal                                  the character, escaped when Qt would read
//                                                     it as a mask character
//
// The second field, '0', keeps the literals out of the edit's text (Qt always keeps them: the
// masked edit removes them itself, see KavStripMaskLiterals); any other value or none keeps them.
// The third field is the character shown for empty positions, '_' when not given.
struct EditMaskMapping {
    QString inputMask;        // for QLineEdit::setInputMask; empty for an empty mask
    bool saveLiterals = true; // whether the edit's text keeps the mask's literals
    QChar blank = u'_';       // shown for positions not yet filled
};

EditMaskMapping KavMapEditMask(const QString &editMask);

// What the user filled in: the characters of displayText (the edit's text as shown for the Qt
// inputMask, literals and blanks included) at the mask's input positions, blanks left out.
QString KavStripMaskLiterals(const QString &inputMask, const QString &displayText, QChar blank);

} // namespace Kav
