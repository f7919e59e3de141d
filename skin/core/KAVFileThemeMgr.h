#pragma once

#include "KAVColor.h"
#include "KAVThemeFile.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <memory>

// The loader behind a file theme: holds the reader of the theme file last loaded and answers the
// theme keys (1..42) with the file entries named after them. Without a loaded file, colours and
// integers are 0, Booleans False and pictures untouched; with one, missing entries give -1, False
// and an empty (null) picture.
class TkavFileThemeMgr {
public:
    TkavFileThemeMgr();
    ~TkavFileThemeMgr();

    TkavFileThemeMgr(const TkavFileThemeMgr &) = delete;
    TkavFileThemeMgr &operator=(const TkavFileThemeMgr &) = delete;

    // Loads fileName in place of the current file. A file that does not exist, cannot be read or
    // is damaged returns false and keeps the current file and its entries in use; errorString()
    // then says why.
    bool LoadFromFile(const QString &fileName);
    QString errorString() const { return m_error; }
    bool isLoaded() const { return m_reader != nullptr; }

    // The whole picture of key index, as a 32-bit RGB image.
    void GetBitmap(int index, QImage *bitmap) const;
    bool GetBool(int index) const;
    TColor GetColor(int index) const;
    int GetInt(int index) const;

private:
    std::unique_ptr<TkavThemeFileReader> m_reader;
    // Decoded pictures by key. Controls ask for their pictures at every paint; a bitmap file is
    // decoded only once per load.
    mutable QHash<int, QImage> m_pictures;
    QString m_error;
};
