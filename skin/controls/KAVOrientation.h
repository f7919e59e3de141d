#pragma once

#include <QObject>
#include <QtGlobal>

// The orientation shared by the progress bar, the track bar and the scroll bar.
namespace KavOrientation {
Q_NAMESPACE

enum TkavProgressBarOrientation : quint8 { kavHorizontal = 0, kavVertical };
Q_ENUM_NS(TkavProgressBarOrientation)
} // namespace KavOrientation

using KavOrientation::TkavProgressBarOrientation;
