#pragma once

#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

#include <QPointer>

class QAction;
class QDesignerFormEditorInterface;
class TkavPageControl;

// Designer's view of a page control's pages: which there are, which one shows, and taking one
// out (Designer keeps it for undo and may hand it back). Pages are TkavTabSheets only, so
// Designer's own "Insert Page", which makes a plain QWidget page, is refused; the page control's
// task menu inserts sheets instead.
class TkavPageControlContainer : public QObject, public QDesignerContainerExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerContainerExtension)

public:
    TkavPageControlContainer(TkavPageControl *pageControl, QObject *parent);

    int count() const override;
    QWidget *widget(int index) const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    bool canAddWidget() const override { return false; }
    void addWidget(QWidget *widget) override;
    void insertWidget(int index, QWidget *widget) override;
    bool canRemove(int index) const override { return index >= 0 && index < count(); }
    void remove(int index) override;

private:
    QPointer<TkavPageControl> m_pageControl;
};

// "Insert Page" and "Delete Page" in a page control's context menu in Designer.
class TkavPageControlTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TkavPageControlTaskMenu(TkavPageControl *pageControl, QObject *parent);

    QList<QAction *> taskActions() const override;
    QAction *preferredEditAction() const override { return nullptr; }

private:
    void insertPage();
    void deletePage();

    QPointer<TkavPageControl> m_pageControl;
    QAction *m_insert;
    QAction *m_delete;
};

// Gives Designer the two extensions above for every page control on a form.
class TkavPageControlExtensionFactory : public QExtensionFactory {
    Q_OBJECT

public:
    explicit TkavPageControlExtensionFactory(QExtensionManager *parent);

    // Once per Designer: registers the factory with the form editor's extension manager.
    static void registerWith(QDesignerFormEditorInterface *formEditor);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};
