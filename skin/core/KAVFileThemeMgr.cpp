#include "KAVFileThemeMgr.h"

#include "KAVThemes.h"

#include <QFileInfo>

TkavFileThemeMgr::TkavFileThemeMgr() = default;
TkavFileThemeMgr::~TkavFileThemeMgr() = default;

bool TkavFileThemeMgr::LoadFromFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile()) {
        m_error = QStringLiteral("\"%1\" does not exist").arg(fileName);
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
    m_pictures.clear();
    m_error.clear();
    return true;
}

void TkavFileThemeMgr::GetBitmap(int index, QImage *bitmap) const
{
    if (bitmap == nullptr || m_reader == nullptr)
        return;
    auto cached = m_pictures.constFind(index);
    if (cached == m_pictures.cend()) {
        const QString name = Kav::KavThemeKeyName(index);
        QImage picture = name.isEmpty() ? QImage() : m_reader->picture(name);
        if (!picture.isNull())
            picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
        cached = m_pictures.insert(index, picture);
    }
    *bitmap = *cached;
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
