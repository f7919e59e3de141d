// The plain-Qt copy of the exam window as a program of its own, which links Qt and nothing of the
// skin: the peer of the exam's start to first frame in bench_windowlook. Sets up fonts and style
// as the exam program does, shows the window, reports after its first paint (FirstFrame.h).

#include "FirstFrame.h"
#include "PlainWindow.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The font names of the form, mapped as the exam program maps them.
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                                       QStringLiteral("Noto Serif CJK SC")});
    for (const char *family : {"MS Sans Serif", "Tahoma"})
        QFont::insertSubstitutions(QLatin1String(family), {QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL UMing CN")});
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    PlainWindow window;
    FirstFrame watch;
    window.installEventFilter(&watch);
    window.show();
    return app.exec();
}
