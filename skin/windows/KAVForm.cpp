#include "KAVForm.h"

TkavForm::TkavForm(QWidget *parent) : QWidget(parent) {}

void TkavForm::setUIStyle(TkavUIStyle style) { m_uiStyle = style; }
