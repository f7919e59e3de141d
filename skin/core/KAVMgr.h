#pragma once

#include "KAVColor.h"
#include "KAVFileThemeMgr.h"
#include "KAVThemes.h"

#include <QImage>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace Kav {
// Owners and their components, as the file theme and the theme manager see them: a component's
// owner form is its parent object when that parent is a window widget (QWidget::isWindow()), and
// the components of that form are all of its descendants, found by findChildren() (depth first, in
// creation order among siblings). A component whose parent is no window has no owner form.
QWidget *KavOwnerForm(const QObject *component);
QList<QObject *> KavOwnerComponents(const QWidget *form);
} // namespace Kav

// One loaded theme file that skinned components take their look from (UIStyle FromThemeFile).
// Components refer to it through their FileTheme property without owning it; when it is
// destroyed they fall back to DeepBlue.
class TkavFileTheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE setThemeFile)

public:
    explicit TkavFileTheme(QObject *parent = nullptr);
    ~TkavFileTheme() override;

    // The path of the loaded file, empty until a file was loaded.
    QString ThemeFile() const { return m_themeFile; }
    // Loads the file: given as is, or failing that by its file name in the program's folder. The
    // same string again does nothing; a file found nowhere is ignored. A file that cannot be read
    // or is damaged is not loaded either: the file in use (if any) stays, and errorString() tells
    // why. After a successful load every "Tkav" component of the owner form that uses this theme
    // gets it assigned again, so that it re-reads its values.
    void setThemeFile(const QString &fileName);
    // Why the last setThemeFile() did not load a file; after one that loaded a file whose
    // pictures the budget partly refused, which pictures and why; otherwise empty.
    QString errorString() const { return m_error.isEmpty() && m_canUse ? m_mgr.errorString() : m_error; }
    // The loaded file had pictures refused by the budget (they read as missing). Unlike a broken
    // file, which is not loaded at all, such a file stays in use: CanUse() is true.
    bool isDamaged() const { return m_canUse && m_mgr.isDamaged(); }

    // Whether a file has been loaded, i.e. whether components can take their values from it.
    bool CanUse() const { return m_canUse; }
    // Counts the files loaded: pictures prepared from one load are not those of the next.
    quint64 revision() const { return m_revision; }

    // The whole picture of key index; an empty (null) image when the file has no such picture,
    // bitmap unchanged when no file was loaded. Nothing happens for a null bitmap.
    void GetBitmap(int index, QImage *bitmap) const;
    // Frame subIndex (1-based) of count equal-width frames of the picture of key index; a count of
    // 0 gives the whole picture, like the built-in look-ups.
    void GetBitmap(int index, QImage *bitmap, int count, int subIndex) const;
    // The double-density (NAME@2x) picture of key index; null when the file has none.
    void GetBitmap2x(int index, QImage *bitmap) const;
    // Missing entries give False and -1; without a loaded file False and 0.
    bool GetBool(int index) const;
    TColor GetColor(int index) const;
    int GetInt(int index) const;

private:
    void reassignToOwnerComponents();

    TkavFileThemeMgr m_mgr;
    QString m_themeFile;
    bool m_canUse = false;
    quint64 m_revision = 0;
    QString m_error;
};

// Whether a component with this UIStyle and file theme takes its values from the file theme.
// style receives the built-in look to use otherwise: uiStyle itself, or DeepBlue when uiStyle is
// FromThemeFile without a usable file theme.
bool UsingFileTheme(const TkavFileTheme *fileTheme, TkavUIStyle uiStyle, TkavUIStyle &style);

// The names of the components a theme manager looks after.
using TkavThemeMgrCompList = QStringList;

// Pushes one UIStyle and one FileTheme to the components of its owner form that CompList names.
class TkavThemeManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(QStringList CompList READ CompList WRITE setCompList)

public:
    explicit TkavThemeManager(QObject *parent = nullptr);

    TkavUIStyle UIStyle() const { return m_uiStyle; }
    // Stores the look and hands it to the listed components (UpdateAll), also when it is the
    // current one; OnUIStyleChanged follows only a real change.
    void setUIStyle(TkavUIStyle style);

    TkavFileTheme *FileTheme() const { return m_fileTheme; }
    // Stores the theme and hands it to the listed components; no OnUIStyleChanged.
    void setFileTheme(TkavFileTheme *fileTheme);

    TkavThemeMgrCompList CompList() const { return m_compList; }
    void setCompList(const TkavThemeMgrCompList &names);

    // For each listed name in order, the owner form's component of that name gets UIStyle, then
    // FileTheme. Names without a component are skipped and kept; other theme managers are never
    // written to (two managers listing each other would hand the look back and forth for ever).
    void UpdateAll();
    void UpdateTheme();

Q_SIGNALS:
    void OnUIStyleChanged(QObject *sender);

private Q_SLOTS:
    void componentDestroyed(QObject *component);

private:
    QObject *listedComponent(const QWidget *form, const QString &name) const;
    void watchListedComponents();
    void fileThemeDestroyed();

    TkavUIStyle m_uiStyle = TkavUIStyle::FromThemeFile;
    QPointer<TkavFileTheme> m_fileTheme;
    QMetaObject::Connection m_fileThemeWatch;
    TkavThemeMgrCompList m_compList;
};

namespace Kav {
// Writes a component's "UIStyle" and "FileTheme" properties by name, as the theme manager and the
// file theme do. Both do nothing when the component has no such property; the look is written as
// the enumeration or, for a property of another type, as its number.
void KavWriteUIStyle(QObject *component, TkavUIStyle style);
void KavWriteFileTheme(QObject *component, TkavFileTheme *fileTheme);
// The component's "FileTheme" property, or nullptr when it has none or it is not set.
QObject *KavReadFileTheme(const QObject *component);
} // namespace Kav
