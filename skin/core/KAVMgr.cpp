#include "KAVMgr.h"

#include "KAVFunctions.h"
#include "KAVPictureStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaProperty>
#include <QWidget>

namespace {

// Published properties are found by name without regard to case, as IsHasProperty does.
QMetaProperty propertyOf(const QObject *object, const char *name)
{
    return Kav::KavFindProperty(object->metaObject(), name);
}

// The components that take their look from a file theme: everything with a FileTheme property
// but the theme managers, which only hand a theme on.
bool takesLookFromTheme(const QObject *object)
{
    return qobject_cast<const TkavThemeManager *>(object) == nullptr;
}

} // namespace

QWidget *Kav::KavOwnerForm(const QObject *component)
{
    QObject *parent = component ? component->parent() : nullptr;
    auto *form = qobject_cast<QWidget *>(parent);
    return form && form->isWindow() ? form : nullptr;
}

QList<QObject *> Kav::KavOwnerComponents(const QWidget *form)
{
    return form ? form->findChildren<QObject *>() : QList<QObject *>();
}

void Kav::KavWriteUIStyle(QObject *component, TkavUIStyle style)
{
    const QMetaProperty property = propertyOf(component, "UIStyle");
    if (!property.isValid())
        return;
    QVariant value = QVariant::fromValue(style);
    if (property.metaType() != value.metaType())
        value = QVariant(int(style));
    property.write(component, value);
}

void Kav::KavWriteFileTheme(QObject *component, TkavFileTheme *fileTheme)
{
    const QMetaProperty property = propertyOf(component, "FileTheme");
    if (!property.isValid())
        return;
    // A null pointer of another type does not convert; a null of the property's own type does.
    property.write(component, fileTheme ? QVariant::fromValue(fileTheme) : QVariant(property.metaType()));
}

QObject *Kav::KavReadFileTheme(const QObject *component)
{
    const QMetaProperty property = propertyOf(component, "FileTheme");
    if (!property.isValid())
        return nullptr;
    return property.read(component).value<QObject *>();
}

// ---------------------------------------------------------------------------------------------

TkavFileTheme::TkavFileTheme(QObject *parent) : QObject(parent) {}

TkavFileTheme::~TkavFileTheme()
{
    Kav::TkavPictureStore::instance().retireTheme(this);
}

void TkavFileTheme::setThemeFile(const QString &fileName)
{
    m_error.clear();
    if (fileName == m_themeFile)
        return;
    QString path = fileName;
    if (!QFileInfo(path).isFile()) {
        path = QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(fileName).fileName());
        if (!QFileInfo(path).isFile()) {
            // Found nowhere: ignored, the file in use stays. A folder, pipe or device of that
            // name is never read (a pipe could keep the load waiting for ever).
            m_error = QFileInfo::exists(fileName)
                ? QStringLiteral("\"%1\" is not a regular file (a folder, pipe or device)").arg(fileName)
                : QStringLiteral("\"%1\" was found neither as given nor in the program's folder").arg(fileName);
            return;
        }
    }
    if (!m_mgr.LoadFromFile(path)) {
        m_error = m_mgr.errorString();
        return;
    }
    m_themeFile = path;
    m_canUse = true;
    // The pictures of the file loaded before are of no use any more; controls that still hold
    // them keep them until they re-read their values below.
    ++m_revision;
    Kav::TkavPictureStore::instance().retireTheme(this);
    reassignToOwnerComponents();
}

void TkavFileTheme::reassignToOwnerComponents()
{
    const QWidget *form = Kav::KavOwnerForm(this);
    if (!form)
        return;
    QList<QPointer<QObject>> users;
    for (QObject *component : Kav::KavOwnerComponents(form)) {
        if (takesLookFromTheme(component) && Kav::KavReadFileTheme(component) == this)
            users.append(component);
    }
    // Assigning the same theme again makes each component re-read its values from the new file.
    for (const QPointer<QObject> &user : users) {
        if (user)
            Kav::KavWriteFileTheme(user, this);
    }
}

void TkavFileTheme::GetBitmap(int index, QImage *bitmap) const
{
    m_mgr.GetBitmap(index, bitmap);
}

void TkavFileTheme::GetBitmap2x(int index, QImage *bitmap) const
{
    m_mgr.GetBitmap2x(index, bitmap);
}

void TkavFileTheme::GetBitmap(int index, QImage *bitmap, int count, int subIndex) const
{
    if (bitmap == nullptr)
        return;
    if (count == 0) {
        GetBitmap(index, bitmap);
        return;
    }
    QImage picture;
    m_mgr.GetBitmap(index, &picture);
    SpitBitmap(picture, *bitmap, count, subIndex);
}

bool TkavFileTheme::GetBool(int index) const
{
    return m_mgr.GetBool(index);
}

TColor TkavFileTheme::GetColor(int index) const
{
    return m_mgr.GetColor(index);
}

int TkavFileTheme::GetInt(int index) const
{
    return m_mgr.GetInt(index);
}

// ---------------------------------------------------------------------------------------------

bool UsingFileTheme(const TkavFileTheme *fileTheme, TkavUIStyle uiStyle, TkavUIStyle &style)
{
    style = uiStyle;
    if (uiStyle != TkavUIStyle::FromThemeFile)
        return false;
    if (fileTheme && fileTheme->CanUse())
        return true;
    style = TkavUIStyle::DeepBlue;
    return false;
}

// ---------------------------------------------------------------------------------------------

TkavThemeManager::TkavThemeManager(QObject *parent) : QObject(parent)
{
    setUIStyle(TkavUIStyle::DeepBlue);
}

void TkavThemeManager::setUIStyle(TkavUIStyle style)
{
    const TkavUIStyle old = m_uiStyle;
    m_uiStyle = style;
    UpdateAll();
    if (style != old)
        Q_EMIT OnUIStyleChanged(this);
}

void TkavThemeManager::setFileTheme(TkavFileTheme *fileTheme)
{
    disconnect(m_fileThemeWatch);
    m_fileTheme = fileTheme;
    if (fileTheme)
        m_fileThemeWatch = connect(fileTheme, &QObject::destroyed, this, &TkavThemeManager::fileThemeDestroyed);
    setUIStyle(m_uiStyle);
}

void TkavThemeManager::fileThemeDestroyed()
{
    // The components that used it fall back by themselves; the manager only forgets it.
    m_fileTheme = nullptr;
    m_uiStyle = TkavUIStyle::DeepBlue;
}

void TkavThemeManager::setCompList(const TkavThemeMgrCompList &names)
{
    m_compList = names;
    watchListedComponents();
}

void TkavThemeManager::UpdateTheme()
{
    UpdateAll();
}

QObject *TkavThemeManager::listedComponent(const QWidget *form, const QString &name) const
{
    for (QObject *component : Kav::KavOwnerComponents(form)) {
        if (component->objectName() == name && !qobject_cast<TkavThemeManager *>(component))
            return component;
    }
    return nullptr;
}

void TkavThemeManager::watchListedComponents()
{
    const QWidget *form = Kav::KavOwnerForm(this);
    if (!form)
        return;
    for (const QString &name : std::as_const(m_compList)) {
        if (QObject *component = listedComponent(form, name))
            connect(component, &QObject::destroyed, this, &TkavThemeManager::componentDestroyed,
                    Qt::UniqueConnection);
    }
}

void TkavThemeManager::componentDestroyed(QObject *component)
{
    const QString name = component->objectName();
    if (!name.isEmpty())
        m_compList.removeAll(name);
}

void TkavThemeManager::UpdateAll()
{
    const QWidget *form = Kav::KavOwnerForm(this);
    if (!form)
        return;
    watchListedComponents();
    // The components' setters may add or remove components; work from a copy of the names and
    // look each one up as it comes.
    const TkavThemeMgrCompList names = m_compList;
    for (const QString &name : names) {
        QPointer<QObject> component = listedComponent(form, name);
        if (!component)
            continue;
        Kav::KavWriteUIStyle(component, m_uiStyle);
        if (component)
            Kav::KavWriteFileTheme(component, m_fileTheme);
    }
}
