#pragma once

#include "KAVColor.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"

class QWidget;

// A picture of the look (frame index of count, or the whole picture for count 0); an empty one
// when the look lacks it.
QImage GalleryLookPicture(const KavThemeValues &values, int key, int count = 0, int index = 0);

// Colours the window itself (it is no skinned control): its background takes the look's
// FormBackgroundColor, its text the ControlFontColor.
void GalleryPaintWindow(QWidget *window, const KavThemeValues &values);
