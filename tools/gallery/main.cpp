// kav-gallery: every skinned control of kavskin in its states, in any look.
//   kav-gallery [--look LOOK | --theme FILE.kav]                  shows the gallery window
//   kav-gallery --look LOOK --screenshot FILE.png                 renders it to a PNG and exits
//   kav-gallery --version                                         prints the version
#include "GalleryOptions.h"
#include "GalleryWindow.h"

#include <QApplication>
#include <QImageWriter>
#include <QTextStream>

namespace {

enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

void complain(const QString &message)
{
    QTextStream(stderr) << "kav-gallery: " << message << '\n';
}

// A screenshot needs no display: without one (and without a chosen platform) render offscreen.
void renderOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int writeScreenshot(GalleryWindow &window, const QString &path)
{
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    window.initialFocus()->setFocus();
    QApplication::processEvents();
    const QImage shot = window.grab().toImage();
    QImageWriter writer(path, "png");
    if (!writer.write(shot)) {
        complain(QStringLiteral("cannot write \"%1\": %2").arg(path, writer.errorString()));
        return Failure;
    }
    return Success;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Asked alone or beside other options, the version is all that is answered.
    if (arguments.mid(1).contains(QLatin1String("--version"))) {
        QTextStream(stdout) << "kav-gallery " KAV_PROJECT_VERSION "\n";
        return Success;
    }
    const GalleryOptions options = parseGalleryOptions(arguments);
    if (options.action == GalleryOptions::Action::Help) {
        QTextStream(stdout) << galleryUsage();
        return Success;
    }
    if (options.action == GalleryOptions::Action::Error) {
        complain(options.error);
        QTextStream(stderr) << "Try 'kav-gallery --help'.\n";
        return UsageError;
    }

    if (!options.screenshot.isEmpty())
        renderOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    GalleryWindow window;
    if (!options.themeFile.isEmpty()) {
        QString error;
        if (!window.showThemeFile(options.themeFile, &error)) {
            complain(QStringLiteral("cannot use the theme file \"%1\": %2")
                         .arg(options.themeFile, error));
            return Failure;
        }
    } else {
        window.showLook(options.look);
    }

    if (!options.screenshot.isEmpty())
        return writeScreenshot(window, options.screenshot);
    window.show();
    return app.exec();
}
