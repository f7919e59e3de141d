// A window with a few skinned controls in one look. Without CMake it builds with
//   g++ -std=c++20 main.cpp $(pkg-config --cflags --libs kavskin) -o hello
// "hello --screenshot FILE" saves the window as a picture and quits; "--click" presses OK first
// and prints what the edit box then says.
#include <KAVButton.h>
#include <KAVCheckBox.h>
#include <KAVEdit.h>
#include <KAVWindowLook.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Skinned controls in one look."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window to <file> and quit."),
                                        QStringLiteral("file"));
    parser.addOption(screenshot);
    const QCommandLineOption click(QStringLiteral("click"), QStringLiteral("Press OK once and print the edit box's text."));
    parser.addOption(click);
    parser.process(app);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Hello"));
    window.resize(240, 130);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::white);
    window.setPalette(palette);

    auto *button = new TkavButton(&window);
    button->setCaption(QStringLiteral("OK"));
    button->setGeometry(20, 20, 100, 30);
    auto *check = new TkavCheckBox(&window);
    check->setCaption(QStringLiteral("Remember me"));
    check->setGeometry(20, 60, 200, 20);
    auto *edit = new TkavEdit(&window);
    edit->setText(QStringLiteral("Type here"));
    edit->setGeometry(20, 90, 200, 24);

    // OK ticks the box (a slot) and says so in the edit box (a lambda).
    QObject::connect(button, &QAbstractButton::clicked, check, &QAbstractButton::toggle);
    QObject::connect(button, &QAbstractButton::clicked, edit, [check, edit] {
        edit->setText(check->isChecked() ? QStringLiteral("Remembered") : QStringLiteral("Forgotten"));
    });

    // One call gives every skinned control in the window the same look.
    Kav::KavApplyWindowLook(&window, TkavUIStyle::WinXP);
    window.show();

    if (parser.isSet(click)) {
        button->click();
        QTextStream(stdout) << edit->text() << '\n';
    }
    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        QTimer::singleShot(0, &window, [&window, &file] {
            if (!window.grab().save(file)) {
                std::fprintf(stderr, "hello: cannot write %s\n", qPrintable(file));
                QApplication::exit(1);
                return;
            }
            QApplication::quit();
        });
    }
    return app.exec();
}
