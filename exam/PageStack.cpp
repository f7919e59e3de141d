#include "PageStack.h"

#include <QPainter>

PageStack::PageStack(QWidget *parent) : QWidget(parent)
{
}

void PageStack::setActivePage(QWidget *page)
{
    if (!page || page->parentWidget() != this || page == m_activePage)
        return;
    if (m_activePage)
        m_activePage->setEnabled(false);
    page->show();
    page->setEnabled(true);
    page->raise();
    m_activePage = page;
}

void PageStack::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(QColor(104, 104, 104));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
