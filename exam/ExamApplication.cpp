#include "ExamApplication.h"

#include "ExamSheet.h"

#include <QDateTime>
#include <QSaveFile>
#include <QTextStream>

#include <QLibraryInfo>
#include <QTranslator>

#include <QFont>
#include <QMessageBox>

#include <exception>

ExamApplication::ExamApplication(int &argc, char **argv) : QApplication(argc, argv)
{
}

bool ExamApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        m_display(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        m_display(QString());
    }
    return false;
}

void ExamApplication::showExceptionMessage(const QString &message)
{
    QMessageBox::critical(activeWindow(), ApplicationTitle, message);
}

void setUpExamApplication()
{
    // The window's fonts are named as on the systems the program was designed on; map them to
    // the installed Song-style CJK font and a plain sans.
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("Noto Serif CJK SC")});
    for (const char *family : {"MS Sans Serif", "Tahoma"})
        QFont::insertSubstitutions(QLatin1String(family),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL UMing CN")});
    QCoreApplication::setApplicationName(ApplicationTitle);
    installQtTranslation();
}

bool installQtTranslation()
{
    // Qt's own texts (the edit boxes' context menu, the buttons of message boxes) in the
    // program's language. Installed once, for the life of the application.
    static QTranslator *translator = nullptr;
    if (translator)
        return true;
    auto *candidate = new QTranslator(QCoreApplication::instance());
    if (!candidate->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete candidate;
        return false;
    }
    QCoreApplication::installTranslator(candidate);
    translator = candidate;
    return true;
}

namespace {

const QString SheetOption = QStringLiteral("--sheet");
const QString AnswerKeyOption = QStringLiteral("--answer-key");
const QString HelpOption = QStringLiteral("--help");

// The options that take a value and the values each accepts.
struct ValueOption {
    const char *name;
    QList<qint64> allowed; // empty: any whole number in [minimum, maximum]
    qint64 minimum;
    qint64 maximum;
};

const QList<ValueOption> &valueOptions()
{
    static const QList<ValueOption> options{
        {"--bound", {10, 100, 1000, 10000}, 0, 0},
        {"--count", {20, 40, 60, 80, 100}, 0, 0},
        {"--kind", {1, 2, 3}, 0, 0},
        {"--seed", {}, 0, 4294967295LL},
    };
    return options;
}

const ValueOption *findValueOption(const QString &name)
{
    for (const ValueOption &option : valueOptions()) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

QString allowedText(const ValueOption &option)
{
    if (option.allowed.isEmpty())
        return QStringLiteral("%1 到 %2 的整数").arg(option.minimum).arg(option.maximum);
    QStringList values;
    for (const qint64 value : option.allowed)
        values << QString::number(value);
    return values.join(QStringLiteral("、"));
}

// Plain decimal digits only: "+5", " 5", "5.0" and "0x14" are refused rather than guessed at.
std::optional<qint64> readOptionValue(const ValueOption &option, const QString &text)
{
    if (text.isEmpty() || text.size() > 12)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const qint64 value = text.toLongLong();
    if (option.allowed.isEmpty())
        return value >= option.minimum && value <= option.maximum ? std::optional<qint64>(value) : std::nullopt;
    return option.allowed.contains(value) ? std::optional<qint64>(value) : std::nullopt;
}

// Qt's own command-line options, which QApplication reads and removes itself (both "-style" and
// "--style"): the number of values each takes after it, or -1 for anything that is not one.
int qtOptionValueCount(const QString &argument)
{
    static const QStringList withValue{
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"), QStringLiteral("-qwindowgeometry"), QStringLiteral("-geometry"),
        QStringLiteral("-qwindowicon"), QStringLiteral("-icon"), QStringLiteral("-qwindowtitle"),
        QStringLiteral("-title"), QStringLiteral("-display"), QStringLiteral("-name"), QStringLiteral("-session"),
        QStringLiteral("-style"), QStringLiteral("-stylesheet"), QStringLiteral("-visual")};
    static const QStringList flags{QStringLiteral("-reverse"), QStringLiteral("-nograb"), QStringLiteral("-dograb"),
                                   QStringLiteral("-sync"), QStringLiteral("-widgetcount"),
                                   QStringLiteral("-testability")};
    QString name = argument.startsWith(QLatin1String("--")) ? argument.mid(1) : argument;
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    if (equals > 0) {
        name.truncate(equals);
        return withValue.contains(name) || name == QLatin1String("-qmljsdebugger") ? 0 : -1;
    }
    if (withValue.contains(name))
        return 1;
    return flags.contains(name) ? 0 : -1;
}

CommandLine invalid(const QString &error)
{
    CommandLine line;
    line.mode = CommandLine::Mode::Invalid;
    line.error = error;
    return line;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    QStringList given;   // the options met so far, each allowed once
    QStringList unknown; // arguments that are none of the options
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == HelpOption || argument == QLatin1String("-h")) {
            line.mode = CommandLine::Mode::Help;
            return line;
        }
        // "--name=value" and "--name value" are the same.
        const qsizetype equals = argument.startsWith(QLatin1String("--")) ? argument.indexOf(QLatin1Char('=')) : -1;
        const QString name = equals > 0 ? argument.left(equals) : argument;
        const ValueOption *valueOption = findValueOption(name);
        if (!valueOption && name != SheetOption && name != AnswerKeyOption) {
            const int qtValues = qtOptionValueCount(argument);
            if (qtValues < 0)
                unknown << argument;
            else if (i + qtValues >= arguments.size())
                return invalid(QStringLiteral("选项 %1 缺少值").arg(argument));
            else
                i += qtValues;
            continue;
        }
        if (given.contains(name))
            return invalid(QStringLiteral("选项 %1 只能给一次").arg(name));
        given << name;
        if (name == AnswerKeyOption) {
            if (equals > 0)
                return invalid(QStringLiteral("选项 %1 不带值").arg(name));
            line.sheet.withAnswerKey = true;
            continue;
        }
        QString value;
        if (equals > 0)
            value = argument.mid(equals + 1);
        else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--")))
            value = arguments[++i];
        else
            return invalid(QStringLiteral("选项 %1 缺少值").arg(name));
        if (name == SheetOption) {
            if (value.size() <= 4 || !value.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
                return invalid(QStringLiteral("--sheet 的文件名须以 .pdf 结尾（收到“%1”）").arg(value));
            line.mode = CommandLine::Mode::Sheet;
            line.sheet.outputPath = value;
            continue;
        }
        const std::optional<qint64> number = readOptionValue(*valueOption, value);
        if (!number)
            return invalid(QStringLiteral("选项 %1 须为 %2（收到“%3”）").arg(name, allowedText(*valueOption), value));
        if (name == QLatin1String("--bound"))
            line.sheet.settings.bound = int(*number);
        else if (name == QLatin1String("--count"))
            line.sheet.settings.count = int(*number);
        else if (name == QLatin1String("--kind"))
            line.sheet.settings.kind = ExamKind(*number);
        else
            line.sheet.seed = *number;
    }
    // Nothing is ignored: a mistyped option must not open the window or give a different sheet.
    if (line.mode == CommandLine::Mode::Window && !given.isEmpty())
        return invalid(QStringLiteral("选项 %1 只能与 --sheet 一起使用").arg(given.first()));
    if (!unknown.isEmpty())
        return invalid(QStringLiteral("不认识的参数“%1”").arg(unknown.first()));
    return line;
}

QString commandLineUsage()
{
    return QStringLiteral(
        "用法：tallisk                 打开考试窗口\n"
        "      tallisk --sheet 文件.pdf [--bound 10|100|1000|10000] [--count 20|40|60|80|100]\n"
        "                              [--kind 1|2|3] [--seed 编号] [--answer-key]\n"
        "  把一张考卷写成 PDF 文件，不打开窗口。\n"
        "  --bound       难度：数字不超过此数（默认 100）\n"
        "  --count       题数（默认 20）\n"
        "  --kind        1 加减法，2 乘除法，3 混和计算（默认 1）\n"
        "  --seed        编号：同一编号、同样设置得到同样的题目（默认取当前时间）\n"
        "  --answer-key  在考卷后加上答案\n");
}

int runSheetCommand(const SheetCommand &command)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const qint64 seed = command.seed.value_or(QDateTime::currentSecsSinceEpoch());
    const ExamSheet sheet = makeExamSheet(command.settings, seed);
    // Written beside the target and renamed at the end: a failed run leaves no half sheet and
    // keeps any file of that name as it was.
    QSaveFile file(command.outputPath);
    QString error;
    int pages = 0;
    if (file.open(QIODevice::WriteOnly)) {
        pages = writeExamSheetPdf(sheet, file, command.withAnswerKey, &error);
        if (pages > 0 && !file.commit()) {
            pages = 0;
            error = file.errorString();
        }
    } else {
        error = file.errorString();
    }
    if (pages == 0) {
        err << QStringLiteral("tallisk: 无法写入“%1”：%2\n").arg(command.outputPath, error);
        return ExitSheetNotWritten;
    }
    out << QStringLiteral("已写入“%1”：%2 页，编号 %3\n").arg(command.outputPath).arg(pages).arg(seed);
    return ExitSheetWritten;
}
