#include "KAVDesignerWidget.h"

#include "KAVArrowButton.h"
#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVComboBox.h"
#include "KAVControlButton.h"
#include "KAVDBChecks.h"
#include "KAVDBEdits.h"
#include "KAVDBGrid.h"
#include "KAVDBLists.h"
#include "KAVDBNavigator.h"
#include "KAVEdit.h"
#include "KAVForm.h"
#include "KAVGroupBox.h"
#include "KAVImageButton.h"
#include "KAVImagePanel.h"
#include "KAVMainMenu.h"
#include "KAVMemo.h"
#include "KAVPageControl.h"
#include "KAVProgressBar.h"
#include "KAVRadioGroup.h"
#include "KAVScrollBar.h"
#include "KAVSpinEdit.h"
#include "KAVTabControl.h"
#include "KAVTitleBar.h"
#include "KAVToolBar.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVTrackBar.h"
#include "KAVURLLabel.h"

#include <QtGlobal>

#include <iterator>

namespace {

template <typename Widget>
QWidget *createPlain(QWidget *parent, bool)
{
    return new Widget(parent);
}

// A form takes over the window it is made on (frameless, moved and sized by the form). In
// Designer that window is the editor's own, so there the form is made loose and then placed:
// it draws its border and title bar as a preview and leaves the editor alone.
// A window holds one skinned form; the form refuses a second one by throwing, which must not
// cross into the host program. The host then shows its own placeholder instead.
template <typename Form>
QWidget *createOnePerWindow(QWidget *parent, bool designing)
{
    if (designing) {
        auto *form = new Form(nullptr);
        form->setParent(parent);
        return form;
    }
    try {
        return new Form(parent);
    } catch (const EKavFormError &error) {
        qWarning("%s", error.what());
        return nullptr;
    }
}

// class, header, tool tip, default width and height, holds child widgets, factory.
#define KAV_DESIGNER_WIDGETS(W)                                                                    \
    W(TkavButton, "KAVButton.h", "Skinned push button", 75, 25, false, createPlain)               \
    W(TKavArrowButton, "KAVArrowButton.h", "Skinned arrow button", 17, 17, false, createPlain)     \
    W(TkavControlButton, "KAVControlButton.h", "Skinned caption button (close, minimise, ...)", 21, \
      21, false, createPlain)                                                                      \
    W(TkavImageButton, "KAVImageButton.h", "Button drawn from a picture", 75, 25, false,          \
      createPlain)                                                                                 \
    W(TkavToolBarSpeedButton, "KAVToolBarSpeedButton.h", "Skinned tool bar button", 23, 22, false, \
      createPlain)                                                                                 \
    W(TkavCheckBox, "KAVCheckBox.h", "Skinned check box", 97, 17, false, createPlain)             \
    W(TkavRadioButton, "KAVCheckBox.h", "Skinned radio button", 97, 17, false, createPlain)       \
    W(TkavCheckGroup, "KAVRadioGroup.h", "Group of skinned check boxes", 185, 105, false,         \
      createPlain)                                                                                 \
    W(TkavRadioGroup, "KAVRadioGroup.h", "Group of skinned radio buttons", 185, 105, false,       \
      createPlain)                                                                                 \
    W(TkavEdit, "KAVEdit.h", "Skinned single-line edit", 121, 21, false, createPlain)             \
    W(TkavMaskEdit, "KAVEdit.h", "Skinned edit with an input mask", 121, 21, false, createPlain)  \
    W(TkavNumberEdit, "KAVEdit.h", "Skinned edit for numbers", 121, 21, false, createPlain)       \
    W(TKavSpinEdit, "KAVSpinEdit.h", "Skinned spin edit", 121, 21, false, createPlain)            \
    W(TkavComboBox, "KAVComboBox.h", "Skinned combo box", 145, 21, false, createPlain)            \
    W(TkavDriveComboBox, "KAVComboBox.h", "Skinned combo box listing the drives", 145, 21, false, \
      createPlain)                                                                                 \
    W(TkavMemo, "KAVMemo.h", "Skinned multi-line edit", 185, 89, false, createPlain)              \
    W(TkavURLLabel, "KAVURLLabel.h", "Label that opens a link", 97, 17, false, createPlain)       \
    W(TkavProgressBar, "KAVProgressBar.h", "Skinned progress bar", 150, 17, false, createPlain)   \
    W(TkavScrollBar, "KAVScrollBar.h", "Skinned scroll bar", 121, 17, false, createPlain)         \
    W(TkavTrackBar, "KAVTrackBar.h", "Skinned track bar", 150, 45, false, createPlain)            \
    W(TkavScrollTrackBar, "KAVTrackBar.h", "Skinned scroll bar drawn as a track bar", 150, 17,    \
      false, createPlain)                                                                          \
    W(TkavTabControl, "KAVTabControl.h", "Skinned tab row", 289, 193, false, createPlain)         \
    W(TkavToolBar, "KAVToolBar.h", "Skinned tool bar", 185, 29, false, createPlain)               \
    W(TkavPanel, "KAVImagePanel.h", "Skinned panel", 185, 41, true, createPlain)                  \
    W(TkavImagePanel, "KAVImagePanel.h", "Panel drawn from a picture", 185, 105, true,            \
      createPlain)                                                                                 \
    W(TkavGroupBox, "KAVGroupBox.h", "Skinned group box", 185, 105, true, createPlain)            \
    W(TkavPageControl, "KAVPageControl.h", "Skinned page control", 289, 193, true, createPlain)   \
    W(TkavTabSheet, "KAVPageControl.h", "Page of a skinned page control", 281, 165, true,         \
      createPlain)                                                                                 \
    W(TkavForm, "KAVForm.h", "Skinned window frame and title bar (one per window)", 400, 300,     \
      true, createOnePerWindow)                                                                            \
    W(TkavTitleBar, "KAVTitleBar.h", "Skinned title bar", 400, 25, false, createPlain)            \
    W(TkavMainMenu, "KAVMainMenu.h", "Skinned menu bar", 400, 21, false, createPlain)             \
    W(TkavDBEdit, "KAVDBEdits.h", "Skinned edit bound to a field", 121, 21, false, createPlain)   \
    W(TkavDBMemo, "KAVDBEdits.h", "Skinned memo bound to a field", 185, 89, false, createPlain)   \
    W(TkavDBImage, "KAVDBEdits.h", "Picture bound to a field", 105, 105, false, createPlain)      \
    W(TkavDBComboBox, "KAVDBEdits.h", "Skinned combo box bound to a field", 145, 21, false,       \
      createPlain)                                                                                 \
    W(TkavDBCheckBox, "KAVDBChecks.h", "Skinned check box bound to a field", 97, 17, false,       \
      createPlain)                                                                                 \
    W(TkavDBRadioGroup, "KAVDBChecks.h", "Skinned radio group bound to a field", 185, 105, false, \
      createPlain)                                                                                 \
    W(TkavDBListBox, "KAVDBLists.h", "Skinned list bound to a field", 121, 97, false,             \
      createPlain)                                                                                 \
    W(TkavDBLookupListBox, "KAVDBLists.h", "Skinned list of looked-up values", 121, 97, false,    \
      createPlain)                                                                                 \
    W(TkavDBLookupComboBox, "KAVDBLists.h", "Skinned combo box of looked-up values", 145, 21,     \
      false, createPlain)                                                                          \
    W(TkavDBGrid, "KAVDBGrid.h", "Skinned grid over a data set", 320, 120, false, createPlain)    \
    W(TkavDBNavigator, "KAVDBNavigator.h", "Skinned buttons that move through a data set", 240,  \
      25, false, createPlain)

#define KAV_DESIGNER_ROW(cls, header, tip, w, h, container, factory)                               \
    Kav::DesignerWidgetInfo{#cls, header, tip, w, h, container, &cls::staticMetaObject, &factory<cls>},

const Kav::DesignerWidgetInfo kWidgets[] = {KAV_DESIGNER_WIDGETS(KAV_DESIGNER_ROW)};

#undef KAV_DESIGNER_ROW

} // namespace

namespace Kav {

const DesignerWidgetInfo *designerWidgets(int *count)
{
    *count = int(std::size(kWidgets));
    return kWidgets;
}

} // namespace Kav
