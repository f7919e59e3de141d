#pragma once

// The plain-Qt copy of the exam window, set up as the exam window sets itself up: fonts and colours
// from the form's dynamic properties, fixed size, splitter, the same pictures, the welcome page in
// front. Used by the benchmark and by the plain start-up program, which links no skin.

#include "ExamPictures.h"
#include "FormStyle.h"
#include "ui_form_main_plain.h"

#include <QWidget>

class PlainWindow : public QWidget {
public:
    static constexpr int SettingsPanelWidth = 153; // as the exam window sets its splitter

    PlainWindow()
    {
        m_ui.setupUi(this);
        applyFormStyle(this);
        setFixedSize(798, 570);
        m_ui.Splitter1->setStretchFactor(0, 0);
        m_ui.Splitter1->setStretchFactor(1, 1);
        m_ui.Splitter1->setSizes({SettingsPanelWidth, width() - SettingsPanelWidth});
        m_ui.page_kaochang->setCurrentWidget(m_ui.tab_welcome);
        ExamPictures::placeOn(this);
    }

private:
    Ui::form_main_plain m_ui;
};
