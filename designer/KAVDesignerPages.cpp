#include "KAVDesignerPages.h"

#include "KAVPageControl.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerMetaDataBaseInterface>
#include <QtDesigner/QDesignerWidgetFactoryInterface>
#include <QtDesigner/QExtensionManager>

#include <QAction>

TkavPageControlContainer::TkavPageControlContainer(TkavPageControl *pageControl, QObject *parent)
    : QObject(parent), m_pageControl(pageControl)
{
}

int TkavPageControlContainer::count() const
{
    return m_pageControl ? m_pageControl->PageCount() : 0;
}

QWidget *TkavPageControlContainer::widget(int index) const
{
    return m_pageControl ? m_pageControl->GetPage(index) : nullptr;
}

int TkavPageControlContainer::currentIndex() const
{
    if (!m_pageControl || !m_pageControl->ActivePage())
        return -1;
    return m_pageControl->ActivePageIndex();
}

void TkavPageControlContainer::setCurrentIndex(int index)
{
    if (m_pageControl)
        m_pageControl->setActivePageIndex(index);
}

void TkavPageControlContainer::addWidget(QWidget *widget)
{
    insertWidget(count(), widget);
}

void TkavPageControlContainer::insertWidget(int index, QWidget *widget)
{
    // A sheet joins the control by becoming its child; anything else is no page.
    auto *sheet = qobject_cast<TkavTabSheet *>(widget);
    if (!m_pageControl || !sheet)
        return;
    if (sheet->parentWidget() != m_pageControl)
        sheet->setParent(m_pageControl);
    sheet->setPageIndex(qBound(0, index, count() - 1));
    sheet->show();
    m_pageControl->setActivePage(sheet);
}

void TkavPageControlContainer::remove(int index)
{
    // Out of the control but not destroyed: Designer owns the page now (undo may bring it back).
    if (TkavTabSheet *sheet = m_pageControl ? m_pageControl->GetPage(index) : nullptr) {
        sheet->hide();
        sheet->setParent(nullptr);
        // The control leaves none active when its first page goes; Designer keeps showing one.
        if (!m_pageControl->ActivePage() && count() > 0)
            m_pageControl->setActivePageIndex(0);
    }
}

TkavPageControlTaskMenu::TkavPageControlTaskMenu(TkavPageControl *pageControl, QObject *parent)
    : QObject(parent),
      m_pageControl(pageControl),
      m_insert(new QAction(tr("Insert Page"), this)),
      m_delete(new QAction(tr("Delete Page"), this))
{
    connect(m_insert, &QAction::triggered, this, &TkavPageControlTaskMenu::insertPage);
    connect(m_delete, &QAction::triggered, this, &TkavPageControlTaskMenu::deletePage);
}

QList<QAction *> TkavPageControlTaskMenu::taskActions() const
{
    m_delete->setEnabled(m_pageControl && m_pageControl->ActivePage());
    return {m_insert, m_delete};
}

void TkavPageControlTaskMenu::insertPage()
{
    QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(m_pageControl);
    if (!form)
        return;
    QDesignerFormEditorInterface *core = form->core();
    QWidget *sheet = core->widgetFactory()->createWidget(QStringLiteral("TkavTabSheet"), m_pageControl);
    if (!sheet)
        return;
    // Named and captioned like a sheet dropped from the widget box, and made part of the form.
    sheet->setObjectName(QStringLiteral("kavTabSheet"));
    form->ensureUniqueObjectName(sheet);
    core->metaDataBase()->add(sheet);
    form->manageWidget(sheet);
    form->cursor()->setWidgetProperty(sheet, QStringLiteral("Caption"), sheet->objectName());
    sheet->show();
    m_pageControl->setActivePage(qobject_cast<TkavTabSheet *>(sheet));
    form->clearSelection();
    form->selectWidget(m_pageControl, true);
    form->setDirty(true);
}

void TkavPageControlTaskMenu::deletePage()
{
    QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(m_pageControl);
    TkavTabSheet *sheet = m_pageControl ? m_pageControl->ActivePage() : nullptr;
    if (!form || !sheet)
        return;
    form->clearSelection();
    form->unmanageWidget(sheet);
    form->core()->metaDataBase()->remove(sheet);
    delete sheet; // leaves the control, which shows its next page
    form->selectWidget(m_pageControl, true);
    form->setDirty(true);
}

TkavPageControlExtensionFactory::TkavPageControlExtensionFactory(QExtensionManager *parent)
    : QExtensionFactory(parent)
{
}

void TkavPageControlExtensionFactory::registerWith(QDesignerFormEditorInterface *formEditor)
{
    static QPointer<QExtensionManager> registered;
    QExtensionManager *manager = formEditor ? formEditor->extensionManager() : nullptr;
    if (!manager || manager == registered)
        return;
    auto *factory = new TkavPageControlExtensionFactory(manager);
    manager->registerExtensions(factory, Q_TYPEID(QDesignerContainerExtension));
    manager->registerExtensions(factory, Q_TYPEID(QDesignerTaskMenuExtension));
    registered = manager;
}

QObject *TkavPageControlExtensionFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    auto *pageControl = qobject_cast<TkavPageControl *>(object);
    if (!pageControl)
        return nullptr;
    if (iid == QLatin1String(Q_TYPEID(QDesignerContainerExtension)))
        return new TkavPageControlContainer(pageControl, parent);
    if (iid == QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
        return new TkavPageControlTaskMenu(pageControl, parent);
    return nullptr;
}
