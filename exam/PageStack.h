#pragma once

#include <QPointer>
#include <QWidget>

// Pages stacked at one place, standing in for the skinned page control until the skin library
// has one. Exactly the active page is enabled and on top; the page that was active before is
// disabled and stays visible beneath it.
class PageStack : public QWidget
{
    Q_OBJECT

public:
    explicit PageStack(QWidget *parent = nullptr);

    QWidget *activePage() const { return m_activePage; }
    void setActivePage(QWidget *page);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_activePage;
};
