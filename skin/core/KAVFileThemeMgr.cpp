#include "KAVFileThemeMgr.h"

#include "KAVPictureBudget.h"
#include "KAVPictureStore.h"
#include "KAVThemes.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

TkavFileThemeMgr::TkavFileThemeMgr() = default;
TkavFileThemeMgr::~TkavFileThemeMgr() = default;

bool TkavFileThemeMgr::LoadFromFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile()) {
        m_error = QFileInfo::exists(fileName)
            ? QStringLiteral("\"%1\" is not a regular file (a folder, pipe or device)").arg(fileName)
            : QStringLiteral("\"%1\" does not exist").arg(fileName);
        return false;
    }
    // Load into a reader of its own first: a file that fails must not take away the one in use.
    auto reader = std::make_unique<TkavThemeFileReader>();
    if (!reader->Load(fileName)) {
        if (reader->isForeign())
            m_error = QStringLiteral("\"%1\" is not a theme file").arg(fileName);
        else if (reader->isDamaged())
            m_error = QStringLiteral("\"%1\" is damaged: %2").arg(fileName, reader->errorString());
        else
            m_error = reader->errorString();
        return false;
    }
    m_reader = std::move(reader);
    m_fileName = fileName;
    m_pictures.clear();
    m_pictures2x.clear();
    m_decodedBytes = 0;
    m_refused.clear();
    m_error.clear();
    for (const TkavThemeFileReader::Refusal &refusal : m_reader->refusedEntries())
        refuse(refusal.name, refusal.reason);
    refuseUnreadablePictures();
    return true;
}

void TkavFileThemeMgr::refuseUnreadablePictures()
{
    // The reader cannot tell a picture from any other file entry; the entries named after picture
    // keys (and their double-density copies) are pictures, and one whose header makes no bitmap
    // is told now, like one too large, rather than left to vanish from its control.
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        if (Kav::KavThemeKeyKind(key) != TkavType::Str)
            continue;
        const QString name = Kav::KavThemeKeyName(key);
        for (const QString &entry : {name, Kav::KavDoubleDensityName(name)}) {
            const std::optional<QByteArrayView> bytes = m_reader->fileData(entry);
            if (!bytes || isRefused(entry))
                continue;
            const QString problem =
                Kav::KavPictureHeaderProblem(QByteArray::fromRawData(bytes->data(), bytes->size()));
            if (!problem.isEmpty())
                refuse(entry, problem);
        }
    }
}

bool TkavFileThemeMgr::isRefused(const QString &name) const
{
    return std::any_of(m_refused.cbegin(), m_refused.cend(), [&name](const TkavThemeFileReader::Refusal &refusal) {
        return refusal.name.compare(name, Qt::CaseInsensitive) == 0;
    });
}

QString TkavFileThemeMgr::errorString() const
{
    if (!m_error.isEmpty() || m_refused.isEmpty())
        return m_error;
    QStringList parts;
    for (const TkavThemeFileReader::Refusal &refusal : m_refused)
        parts.append(QStringLiteral("the picture \"%1\" was refused: %2").arg(refusal.name, refusal.reason));
    return QStringLiteral("\"%1\" is damaged: %2").arg(m_fileName, parts.join(QStringLiteral("; ")));
}

void TkavFileThemeMgr::refuse(const QString &name, const QString &reason) const
{
    m_refused.append({name, reason});
    qWarning("kavskin: theme file \"%s\": the picture \"%s\" was refused: %s", qPrintable(m_fileName),
             qPrintable(name), qPrintable(reason));
}

QImage TkavFileThemeMgr::decoded(const QString &name) const
{
    // Pictures refused by their header were reported at load and simply read as missing here; one
    // whose pixels turn out not to decode is reported now.
    QString why;
    QImage picture = m_reader->picture(name, &why);
    if (picture.isNull()) {
        if (!why.isEmpty() && !isRefused(name))
            refuse(name, why);
        return picture;
    }
    const qint64 bytes = qint64(picture.width()) * picture.height() * 4;
    if (m_decodedBytes + bytes > Kav::PictureBudget::MaxThemeBytes) {
        refuse(name, QStringLiteral("its %1 x %2 pixels would take the file's pictures past the %3 MB they may take together")
                         .arg(picture.width())
                         .arg(picture.height())
                         .arg(Kav::PictureBudget::MaxThemeBytes / (1024 * 1024)));
        return QImage();
    }
    m_decodedBytes += bytes;
    // Expanded to 32 bits here once; every later user shares these pixels.
    return std::move(picture).convertToFormat(QImage::Format_RGB32);
}

void TkavFileThemeMgr::GetBitmap(int index, QImage *bitmap) const
{
    if (bitmap != nullptr && m_reader != nullptr)
        *bitmap = cachedPicture(index, false);
}

void TkavFileThemeMgr::GetBitmap2x(int index, QImage *bitmap) const
{
    if (bitmap != nullptr && m_reader != nullptr)
        *bitmap = cachedPicture(index, true);
}

QImage TkavFileThemeMgr::cachedPicture(int index, bool doubleDensity) const
{
    QHash<int, QImage> &pictures = doubleDensity ? m_pictures2x : m_pictures;
    auto cached = pictures.constFind(index);
    if (cached == pictures.cend()) {
        const QString name = Kav::KavThemeKeyName(index);
        QImage picture;
        if (!name.isEmpty())
            picture = decoded(doubleDensity ? Kav::KavDoubleDensityName(name) : name);
        // Marked here, on the one copy, so that users setting the same ratio do not detach it.
        if (doubleDensity)
            picture.setDevicePixelRatio(2.0);
        cached = pictures.insert(index, picture);
    }
    return *cached;
}

bool TkavFileThemeMgr::GetBool(int index) const
{
    if (m_reader == nullptr)
        return false;
    const QString name = Kav::KavThemeKeyName(index);
    return !name.isEmpty() && m_reader->GetBool(name);
}

TColor TkavFileThemeMgr::GetColor(int index) const
{
    return TColor(quint32(GetInt(index)));
}

int TkavFileThemeMgr::GetInt(int index) const
{
    if (m_reader == nullptr)
        return 0;
    const QString name = Kav::KavThemeKeyName(index);
    return name.isEmpty() ? -1 : m_reader->GetInteger(name);
}
