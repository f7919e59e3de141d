#pragma once

// Helpers for tests that compare a look exported by kav-theme with the built-in one: running the
// tool, and describing where two pictures differ. Kept in a header: every tst_*.cpp under tests/
// is a test program of its own.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace KavThemeToolTest {

// The built kav-theme (the tests get the build folder in KAV_BINARY_DIR).
inline QString toolPath()
{
    return QDir(qEnvironmentVariable("KAV_BINARY_DIR")).filePath(QStringLiteral("tools/kav-theme/kav-theme"));
}

// Runs kav-theme with the arguments; returns an empty string when it succeeded, otherwise what
// went wrong.
inline QString runTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(toolPath(), arguments);
    if (!tool.waitForFinished(60000))
        return QStringLiteral("kav-theme %1 did not run: %2").arg(arguments.join(u' '), tool.errorString());
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return QStringLiteral("kav-theme %1 exited with %2: %3")
            .arg(arguments.join(u' '))
            .arg(tool.exitCode())
            .arg(QString::fromLocal8Bit(tool.readAllStandardError()));
    return {};
}

inline QString exportLook(const QString &look, const QString &file)
{
    return runTool({QStringLiteral("export"), look, file});
}

// Empty when both pictures have the same size and pixels (compared as 32-bit RGB), otherwise the
// size difference or the first differing pixel.
inline QString pictureDifference(const QImage &actual, const QImage &expected)
{
    if (actual.isNull() != expected.isNull())
        return actual.isNull() ? QStringLiteral("the picture is empty") : QStringLiteral("the picture should be empty");
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != e.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) is #%3, expected #%4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(e.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        }
    }
    return {};
}

} // namespace KavThemeToolTest
