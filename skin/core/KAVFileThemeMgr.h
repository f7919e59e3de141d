#pragma once

#include "KAVColor.h"
#include "KAVThemeFile.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

#include <memory>

// The loader behind a file theme: holds the reader of the theme file last loaded and answers the
// theme keys (1..42) with the file entries named after them. Without a loaded file, colours and
// integers are 0, Booleans False and pictures untouched; with one, missing entries give -1, False
// and an empty (null) picture.
//
// This is the one owner of a loaded file's decoded pictures: each is decoded and expanded to
// 32 bits once, and everyone else (the picture store) shares these pixels.
//
// Refused pictures: a picture that the budget refuses (Kav::PictureBudget: too large by its
// header, or asked for once the file's total is spent), or that cannot be decoded (no bitmap
// file, a header no bitmap has: found at load; pixels that do not decode: found when the picture
// is first asked for), reads as missing. The load still succeeds and the rest of the file is
// used, but isDamaged() turns true and errorString() names every refused entry and why; each
// refusal is warned about once per load. Controls show the built-in look's picture in place of a
// missing one (KavThemeValues).
class TkavFileThemeMgr {
public:
    TkavFileThemeMgr();
    ~TkavFileThemeMgr();

    TkavFileThemeMgr(const TkavFileThemeMgr &) = delete;
    TkavFileThemeMgr &operator=(const TkavFileThemeMgr &) = delete;

    // Loads fileName in place of the current file. A file that does not exist, cannot be read or
    // is damaged returns false and keeps the current file and its entries in use; errorString()
    // then says why. A load that succeeds with refused pictures returns true.
    bool LoadFromFile(const QString &fileName);
    // Why the last load failed, or, after a successful one, which pictures were refused; empty
    // when neither.
    QString errorString() const;
    bool isLoaded() const { return m_reader != nullptr; }
    // The loaded file has pictures the budget refused (a failed load leaves this as it was).
    bool isDamaged() const { return !m_refused.isEmpty(); }
    const QList<TkavThemeFileReader::Refusal> &refusedEntries() const { return m_refused; }

    // The whole picture of key index, as a 32-bit RGB image.
    void GetBitmap(int index, QImage *bitmap) const;
    // The NAME@2x entry of key index (double density), as a 32-bit RGB image; null when absent.
    void GetBitmap2x(int index, QImage *bitmap) const;
    bool GetBool(int index) const;
    TColor GetColor(int index) const;
    int GetInt(int index) const;

private:
    QImage decoded(const QString &name) const;
    // The picture of key index, decoded once per load (the NAME@2x entry for double density).
    QImage cachedPicture(int index, bool doubleDensity) const;
    void refuse(const QString &name, const QString &reason) const;
    void refuseUnreadablePictures();
    bool isRefused(const QString &name) const;

    std::unique_ptr<TkavThemeFileReader> m_reader;
    // Decoded pictures by key, ordinary and double density. Controls ask for their pictures at
    // every look change; a bitmap file is decoded only once per load.
    mutable QHash<int, QImage> m_pictures;
    mutable QHash<int, QImage> m_pictures2x;
    // Bytes of decoded pictures held for this load, against the file's total budget.
    mutable qint64 m_decodedBytes = 0;
    mutable QList<TkavThemeFileReader::Refusal> m_refused;
    QString m_error;
    QString m_fileName;
};
