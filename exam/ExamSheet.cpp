#include "ExamSheet.h"

#include "ExamControls.h"
#include "ExamGrading.h"
#include "ExamApplication.h"
#include "ExamRandom.h"
#include "ExamSession.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>

#include <QFont>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Sheet geometry in points (1/72 inch); the painter is scaled from device pixels to points.
constexpr qreal PointsPerInch = 72.0;
constexpr int Columns = 3;
constexpr qreal RowHeight = 28.0;
constexpr qreal BoxHeight = 20.0;
constexpr qreal FirstPageGridTop = 92.0;   // below title, name/date line and settings
constexpr qreal KeyPageGridTop = 64.0;     // below the key's title and settings
constexpr qreal NextPageGridTop = 8.0;
constexpr qreal FooterHeight = 24.0;
constexpr int TitlePixels = 20;
constexpr int TextPixels = 13;
constexpr int SmallPixels = 11;

const QString SheetTitle = QStringLiteral("口算考试");
const QString KeyTitle = QStringLiteral("答案");
const QString NameDateLine = QStringLiteral("姓名：_____  日期：_____");

QString kindText(ExamKind kind)
{
    switch (kind) {
    case ExamKind::AdditionSubtraction:
        return QStringLiteral("加减法");
    case ExamKind::MultiplicationDivision:
        return QStringLiteral("乘除法");
    case ExamKind::Mixed:
        return QStringLiteral("混和计算");
    }
    return {};
}

std::optional<Operation> operationOfGlyph(const QString &glyph)
{
    for (const Operation operation : {Operation::Addition, Operation::Subtraction,
                                      Operation::Multiplication, Operation::Division}) {
        if (operatorGlyph(operation) == glyph)
            return operation;
    }
    return std::nullopt;
}

std::optional<int> readOperand(const QString &caption)
{
    bool ok = false;
    const int value = caption.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// What one page holds: questions or answers [first, first + count), and which header it has.
enum class PageHeader { Sheet, None, Key };
struct PagePlan {
    PageHeader header = PageHeader::Sheet;
    int first = 0;
    int count = 0;
    bool answers = false;
};

qreal gridTop(PageHeader header)
{
    switch (header) {
    case PageHeader::Sheet:
        return FirstPageGridTop;
    case PageHeader::Key:
        return KeyPageGridTop;
    case PageHeader::None:
        return NextPageGridTop;
    }
    return NextPageGridTop;
}

int questionsPerPage(PageHeader header, qreal pageHeight)
{
    const int rows = int((pageHeight - FooterHeight - gridTop(header)) / RowHeight);
    return std::max(1, rows) * Columns;
}

// The questions, then the answer key, each starting on a page of its own; a part never holds
// less than one page, so an empty sheet still prints its header.
std::vector<PagePlan> planPages(int questionCount, bool withAnswerKey, qreal pageHeight)
{
    std::vector<PagePlan> pages;
    const auto planPart = [&](PageHeader firstHeader, bool answers) {
        PageHeader header = firstHeader;
        int first = 0;
        do {
            const int count = std::min(questionsPerPage(header, pageHeight), questionCount - first);
            pages.push_back({header, first, count, answers});
            first += count;
            header = PageHeader::None;
        } while (first < questionCount);
    };
    planPart(PageHeader::Sheet, false);
    if (withAnswerKey)
        planPart(PageHeader::Key, true);
    return pages;
}

QFont sheetFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void paintHeader(QPainter &painter, const ExamSheet &sheet, PageHeader header, qreal width)
{
    if (header == PageHeader::None)
        return;
    painter.setFont(sheetFont(TitlePixels, true));
    painter.drawText(QRectF(0, 0, width, 32), Qt::AlignCenter,
                     header == PageHeader::Key ? SheetTitle + QStringLiteral(" — ") + KeyTitle
                                               : SheetTitle);
    qreal y = 36;
    painter.setFont(sheetFont(TextPixels));
    if (header == PageHeader::Sheet) {
        painter.drawText(QRectF(0, y, width, 22), Qt::AlignLeft | Qt::AlignVCenter, NameDateLine);
        y += 24;
    }
    painter.setFont(sheetFont(SmallPixels));
    painter.drawText(QRectF(0, y, width, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     sheetSettingsText(sheet.settings));
    if (sheet.seed)
        painter.drawText(QRectF(0, y, width, 18), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("编号：") + QString::number(*sheet.seed));
    painter.drawLine(QPointF(0, y + 22), QPointF(width, y + 22));
}

// One question in its cell: number, operands lined up on the right so that the operator and
// "=" stand in one column, then the box (empty, or holding the answer on the key).
void paintQuestion(QPainter &painter, const QRectF &cell, int number, const Question &question,
                   bool withAnswer)
{
    const qreal w = cell.width();
    const auto part = [&](qreal from, qreal to) {
        return QRectF(cell.left() + from * w, cell.top(), (to - from) * w, cell.height());
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    painter.setFont(sheetFont(SmallPixels));
    painter.drawText(part(0.0, 0.10), right, QString::number(number) + QLatin1Char('.'));
    painter.setFont(sheetFont(TextPixels));
    painter.drawText(part(0.11, 0.33), right, QString::number(question.operand1));
    painter.drawText(part(0.33, 0.41), centre, operatorGlyph(question.operation));
    painter.drawText(part(0.41, 0.63), right, QString::number(question.operand2));
    painter.drawText(part(0.63, 0.71), centre, QStringLiteral("="));
    const QRectF boxColumn = part(0.72, 0.96); // wide enough for a five-digit answer
    const QRectF box(boxColumn.left(), cell.center().y() - BoxHeight / 2, boxColumn.width(), BoxHeight);
    painter.drawRect(box);
    if (withAnswer)
        painter.drawText(box, centre, QString::number(question.answer));
}

void paintFooter(QPainter &painter, int page, int pageCount, qreal width, qreal height)
{
    painter.setFont(sheetFont(SmallPixels));
    painter.drawText(QRectF(0, height - FooterHeight + 6, width, FooterHeight - 6), Qt::AlignCenter,
                     QStringLiteral("第 %1 页，共 %2 页").arg(page).arg(pageCount));
}

} // namespace

ExamSheet makeExamSheet(const ExamSettings &settings, qint64 seedSeconds)
{
    ExamSheet sheet{settings, {}, seedSeconds};
    ExamRandom random;
    random.seed(quint32(seedSeconds)); // as the window seeds from its clock
    for (int row = 1; row <= settings.count; ++row) {
        const Operation operation = operationForRow(settings.kind, row, settings.count);
        sheet.questions.append(makeQuestion(operation, settings.kind, settings.bound, random));
    }
    return sheet;
}

std::optional<ExamSheet> sheetFromRows(const ExamControls &controls, const ExamSettings &settings)
{
    ExamSheet sheet{settings, {}, std::nullopt};
    for (int row = 1; row <= settings.count; ++row) {
        const QString first = controls.labelCaption(ExamNames::operand1(row));
        const QString glyph = controls.labelCaption(ExamNames::glyph(row));
        const QString second = controls.labelCaption(ExamNames::operand2(row));
        const std::optional<Operation> operation = operationOfGlyph(glyph);
        const std::optional<int> operand1 = readOperand(first);
        const std::optional<int> operand2 = readOperand(second);
        const std::optional<qint32> answer = expectedAnswer(first, glyph, second);
        if (!operation || !operand1 || !operand2 || !answer)
            return std::nullopt;
        sheet.questions.append({*operand1, *operand2, *operation, *answer});
    }
    return sheet;
}

QString sheetSettingsText(const ExamSettings &settings)
{
    QString text;
    if (!settings.timeText.trimmed().isEmpty())
        text = QStringLiteral("时间 ") + settings.timeText.simplified() + QStringLiteral(", ");
    return text + QStringLiteral("难度 ") + QString::number(settings.bound) + QStringLiteral(" 以下, 题数 ")
           + QString::number(settings.count) + QStringLiteral(", ") + kindText(settings.kind);
}

QString sheetQuestionText(const Question &question)
{
    return QStringLiteral("%1 %2 %3 =")
        .arg(question.operand1)
        .arg(operatorGlyph(question.operation))
        .arg(question.operand2);
}

QString sheetAnswerText(const Question &question)
{
    return sheetQuestionText(question) + QLatin1Char(' ') + QString::number(question.answer);
}

int paintExamSheet(const ExamSheet &sheet, QPagedPaintDevice &device, bool withAnswerKey)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const qreal scale = device.logicalDpiY() / PointsPerInch;
    painter.scale(scale, scale);
    const qreal width = device.width() / scale;
    const qreal height = device.height() / scale;
    painter.setPen(QPen(Qt::black, 0.6));

    const std::vector<PagePlan> pages = planPages(int(sheet.questions.size()), withAnswerKey, height);
    const qreal cellWidth = width / Columns;
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0 && !device.newPage())
            return 0;
        const PagePlan &plan = pages[page];
        paintHeader(painter, sheet, plan.header, width);
        const qreal top = gridTop(plan.header);
        for (int i = 0; i < plan.count; ++i) {
            const int index = plan.first + i;
            const QRectF cell((i % Columns) * cellWidth, top + (i / Columns) * RowHeight, cellWidth, RowHeight);
            paintQuestion(painter, cell, index + 1, sheet.questions[index], plan.answers);
        }
        paintFooter(painter, int(page) + 1, int(pages.size()), width, height);
    }
    return painter.end() ? int(pages.size()) : 0;
}

int writeExamSheetPdf(const ExamSheet &sheet, QIODevice &output, bool withAnswerKey, QString *error)
{
    QPdfWriter writer(&output);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer.setTitle(SheetTitle);
    writer.setCreator(QStringLiteral("Tallisk"));
    const int pages = paintExamSheet(sheet, writer, withAnswerKey);
    if (pages == 0 && error)
        *error = output.errorString();
    return pages;
}

namespace {

// Qt's print dialog with one more tab: whether the answer key is printed after the sheet.
bool runQtPrintDialog(QWidget *parent, QPrinter &printer, ExamSheetPrinting::Choice &choice)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印考卷"));
    auto *options = new QWidget;
    options->setWindowTitle(KeyTitle);
    auto *keyChoice = new QCheckBox(QStringLiteral("在考卷后打印答案"), options);
    keyChoice->setChecked(choice.withAnswerKey && choice.answerKeyOffered);
    keyChoice->setEnabled(choice.answerKeyOffered);
    auto *layout = new QVBoxLayout(options);
    layout->addWidget(keyChoice);
    if (!choice.answerKeyOffered)
        layout->addWidget(new QLabel(QStringLiteral("考试进行中，不能打印答案。交卷后可以打印。"), options));
    layout->addStretch();
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.withAnswerKey = keyChoice->isChecked();
    return true;
}

} // namespace

ExamSheetPrinting::ExamSheetPrinting(QWidget *window, const ExamControls &controls)
    : QObject(window), m_window(window), m_controls(controls),
      m_dialog([window](QPrinter &printer, Choice &choice) { return runQtPrintDialog(window, printer, choice); })
{
    auto *shortcut = new QShortcut(QKeySequence::Print, window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { print(); });
    // Connected after the window's own handler, so the exam has started when this runs.
    if (auto *begin = window->findChild<QAbstractButton *>(ExamNames::BeginButton))
        connect(begin, &QAbstractButton::clicked, this, &ExamSheetPrinting::examStarted);
}

void ExamSheetPrinting::examStarted()
{
    // A start that was refused leaves the begin button enabled and the rows as they were.
    auto *begin = m_window->findChild<QAbstractButton *>(ExamNames::BeginButton);
    if (begin && !begin->isEnabled())
        m_examSettings = readExamSettings(m_controls);
}

ExamSheet ExamSheetPrinting::currentSheet() const
{
    if (m_examSettings) {
        if (std::optional<ExamSheet> sheet = sheetFromRows(m_controls, *m_examSettings))
            return *sheet;
    }
    return makeExamSheet(readExamSettings(m_controls), ExamSession::systemSeconds());
}

int ExamSheetPrinting::print()
{
    const ExamSheet sheet = currentSheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(SheetTitle);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const auto *handIn = m_window->findChild<QAbstractButton *>(ExamNames::HandInButton);
    Choice choice;
    choice.answerKeyOffered = !(handIn && handIn->isEnabled());
    if (!m_dialog(printer, choice))
        return 0;
    const int pages = paintExamSheet(sheet, printer, choice.withAnswerKey && choice.answerKeyOffered);
    if (pages == 0)
        QMessageBox::warning(m_window, ApplicationTitle, QStringLiteral("考卷没有打印出来：打印机无法使用。"));
    return pages;
}

ExamSheetPrinting *installSheetPrinting(QWidget *window, const ExamControls &controls)
{
    return new ExamSheetPrinting(window, controls);
}
