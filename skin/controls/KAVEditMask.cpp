#include "KAVEditMask.h"

namespace Kav {

namespace {

// Characters Qt reads as mask characters (or reserves); a literal one must be escaped.
bool isQtMaskSyntax(QChar c)
{
    static const QString syntax = QStringLiteral("AaNnXx90DdHhBb#<>!;\\[]{}");
    return syntax.contains(c);
}

bool isQtInputPosition(QChar c)
{
    static const QString positions = QStringLiteral("AaNnXx90DdHhBb#");
    return positions.contains(c);
}

QString literal(QChar c)
{
    return isQtMaskSyntax(c) ? QStringLiteral("\\") + c : QString(c);
}

} // namespace

EditMaskMapping KavMapEditMask(const QString &editMask)
{
    EditMaskMapping mapping;
    QString mask;
    qsizetype i = 0;
    for (; i < editMask.size(); ++i) {
        const QChar c = editMask.at(i);
        if (c == u';')
            break;
        switch (c.unicode()) {
        case u'\\':
            // A lone backslash at the end escapes nothing.
            if (i + 1 < editMask.size())
                mask += literal(editMask.at(++i));
            break;
        case u'L': mask += u'A'; break;
        case u'l': mask += u'a'; break;
        case u'A': mask += u'N'; break;
        case u'a': mask += u'n'; break;
        case u'C': mask += u'X'; break;
        case u'c': mask += u'x'; break;
        case u'0': mask += u'9'; break;
        case u'9': mask += u'0'; break;
        case u'#': mask += u'#'; break;
        case u'>': mask += u'>'; break;
        case u'<':
            if (i + 1 < editMask.size() && editMask.at(i + 1) == u'>') {
                mask += u'!';
                ++i;
            } else {
                mask += u'<';
            }
            break;
        case u'_': mask += u' '; break;
        case u'!': break;
        default: mask += literal(c); break;
        }
    }
    // The fields after the mask: save-literals flag, then the blank character.
    const QString rest = i < editMask.size() ? editMask.mid(i + 1) : QString();
    const qsizetype separator = rest.indexOf(u';');
    const QString saveField = separator < 0 ? rest : rest.left(separator);
    if (i < editMask.size())
        mapping.saveLiterals = saveField != QStringLiteral("0");
    if (separator >= 0 && separator + 1 < rest.size())
        mapping.blank = rest.at(separator + 1);

    if (!mask.isEmpty())
        mapping.inputMask = mask + u';' + mapping.blank;
    return mapping;
}

QString KavStripMaskLiterals(const QString &inputMask, const QString &displayText, QChar blank)
{
    QString filled;
    qsizetype position = 0;
    for (qsizetype i = 0; i < inputMask.size() && position < displayText.size(); ++i) {
        const QChar c = inputMask.at(i);
        if (c == u';')
            break;
        if (c == u'<' || c == u'>' || c == u'!')
            continue;
        if (c == u'\\') {
            ++i; // an escaped literal
            ++position;
            continue;
        }
        const QChar shown = displayText.at(position++);
        if (isQtInputPosition(c) && shown != blank)
            filled += shown;
    }
    return filled;
}

} // namespace Kav
