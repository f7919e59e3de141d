#pragma once

class QWidget;

// Applies what a Designer file cannot say directly: font sizes in pixels and colours, stored in
// the form definition as the dynamic properties kavFontPixelSize, kavFontColor and kavColor.
void applyFormStyle(QWidget *root);
