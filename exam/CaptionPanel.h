#pragma once

#include <QWidget>

// A plain panel with a caption bar, standing in for the skinned panel until the skin library
// has one. It publishes the same Caption property, which is all the exam logic uses.
class CaptionPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    explicit CaptionPanel(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    static constexpr int CaptionBarHeight = 21;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};
