// A plain Qt program that knows nothing of kavskin: it takes its style the way every Qt program
// does (-style, QT_STYLE_OVERRIDE, QStyleFactory) and reports what it got, one "name=value" line
// each, for test_style_plugin.sh.
//   kav_style_probe [Qt options]          the application's style
//   kav_style_probe --keys                the styles QStyleFactory offers
//   kav_style_probe --create KEY          a style made by QStyleFactory::create(KEY)
#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTextStream>

namespace {

void report(QStyle *style)
{
    QTextStream out(stdout);
    // The palette a window gets from the style, as QApplication works it out.
    QPalette palette = style->standardPalette();
    style->polish(palette);
    QStyleOption option;
    option.state = QStyle::State_Horizontal;
    QProgressBar bar;
    bar.setStyle(style);
    out << "style=" << style->name() << '\n'
        << "class=" << style->metaObject()->className() << '\n'
        << "window=" << palette.color(QPalette::Window).name() << '\n'
        << "indicator=" << style->pixelMetric(QStyle::PM_IndicatorWidth) << 'x'
        << style->pixelMetric(QStyle::PM_IndicatorHeight) << '\n'
        << "scrollbar=" << style->pixelMetric(QStyle::PM_ScrollBarExtent) << '\n'
        << "progress=" << style->sizeFromContents(QStyle::CT_ProgressBar, &option, QSize(100, 20)).height() << '\n';
    // Something drawn through it: a push button's top-left corner.
    QPushButton button(QStringLiteral("OK"));
    button.setStyle(style);
    button.resize(80, 27);
    const QImage shot = button.grab().toImage();
    out << "button=" << QColor(shot.pixel(2, shot.height() / 2)).name() << '\n';
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.contains(QStringLiteral("--keys"))) {
        QTextStream(stdout) << "keys=" << QStyleFactory::keys().join(QLatin1Char(',')) << '\n';
        return 0;
    }
    const qsizetype create = arguments.indexOf(QStringLiteral("--create"));
    if (create >= 0) {
        QStyle *style = QStyleFactory::create(arguments.value(create + 1));
        if (!style) {
            QTextStream(stdout) << "style=\n";
            return 1;
        }
        report(style);
        delete style;
        return 0;
    }
    report(QApplication::style());
    return 0;
}
