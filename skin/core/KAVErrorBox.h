#pragma once

#include <QString>

#include <functional>

class QWidget;

// The error box a component shows when a developer sets a property to a value it refuses (the
// property keeps its old value). A program or a test can take the message instead of the box.
namespace Kav {

using ErrorBoxHandler = std::function<void(QWidget *parent, const QString &text)>;

// Shows text in a warning box with an OK button (or hands it to the installed handler).
void KavErrorBox(QWidget *parent, const QString &text);
// The same, with detail (a database driver's own words, say) behind the box's details button;
// an installed handler is given text alone.
void KavErrorBox(QWidget *parent, const QString &text, const QString &detail);

// Installs handler in place of the box and returns the one installed before; an empty handler
// brings the box back.
ErrorBoxHandler KavSetErrorBoxHandler(ErrorBoxHandler handler);

} // namespace Kav
