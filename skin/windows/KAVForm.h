#pragma once

#include <QWidget>

#include "KAVThemes.h"

// The skinned form: dropped once on a top-level form, it gives the form its look. New skinned
// components on the same form start in its UIStyle (GetKAVFormStyle).
class TkavForm : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("KavFormSkin", "true")
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)

public:
    explicit TkavForm(QWidget *parent = nullptr);

    TkavUIStyle UIStyle() const { return m_uiStyle; }
    void setUIStyle(TkavUIStyle style);

private:
    TkavUIStyle m_uiStyle = TkavUIStyle::DeepBlue;
};
