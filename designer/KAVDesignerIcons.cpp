#include "KAVDesignerWidget.h"

#include "KAVResources.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// Which of the looks' pictures stands for a class in the widget box: the picture's resource
// name, the number of equal frames it holds side by side and the frame to show. WinXP, the most
// colourful look, where it has the picture.
struct IconPicture {
    const char *resource;
    int frames;
    int frame;
};

const QHash<QString, IconPicture> &iconPictures()
{
    static const QHash<QString, IconPicture> pictures{
        {"TkavButton", {"WINXP_BUTTON", 3, 0}},
        {"TkavImageButton", {"WINXP_BUTTON", 3, 1}},
        {"TkavToolBarSpeedButton", {"WINXP_BUTTON", 3, 2}},
        {"TkavToolBar", {"WINXP_BUTTON", 3, 0}},
        {"TKavArrowButton", {"WINXP_SCROLLBAR_BUTTON", 6, 0}},
        {"TkavControlButton", {"WINXP_TITLEBTN", 18, 0}},
        {"TkavCheckBox", {"WINXP_CHECKBOX", 4, 1}},
        {"TkavCheckGroup", {"WINXP_CHECKBOX", 4, 1}},
        {"TkavDBCheckBox", {"WINXP_CHECKBOX", 4, 1}},
        {"TkavRadioButton", {"WINXP_RADIOBUTTON", 4, 1}},
        {"TkavRadioGroup", {"WINXP_RADIOBUTTON", 4, 1}},
        {"TkavDBRadioGroup", {"WINXP_RADIOBUTTON", 4, 1}},
        {"TkavEdit", {"WINXP_CHECKLIST", 1, 0}},
        {"TkavMaskEdit", {"WINXP_CHECKLIST", 1, 0}},
        {"TkavNumberEdit", {"WINXP_CHECKLIST", 1, 0}},
        {"TkavDBEdit", {"WINXP_CHECKLIST", 1, 0}},
        {"TKavSpinEdit", {"WINXP_SCROLLBUTTON", 4, 0}},
        {"TkavComboBox", {"WINXP_COMBOBOX_BUTTON", 1, 0}},
        {"TkavDriveComboBox", {"WINXP_COMBOBOX_BUTTON", 1, 0}},
        {"TkavDBComboBox", {"WINXP_COMBOBOX_BUTTON", 1, 0}},
        {"TkavDBLookupComboBox", {"WINXP_COMBOBOX_BUTTON", 1, 0}},
        {"TkavMemo", {"WINXP_SCROLLBAR_TRACK", 1, 0}},
        {"TkavDBMemo", {"WINXP_SCROLLBAR_TRACK", 1, 0}},
        {"TkavDBListBox", {"WINXP_SCROLLBAR_TRACK", 1, 0}},
        {"TkavDBLookupListBox", {"WINXP_SCROLLBAR_TRACK", 1, 0}},
        {"TkavURLLabel", {"MENU_CHECKED", 1, 0}},
        {"TkavProgressBar", {"WINXP_PROGRESSBAR", 1, 0}},
        {"TkavScrollBar", {"WINXP_SCROLLBAR_BUTTON", 6, 3}},
        {"TkavTrackBar", {"WINXP_TRACKBAR_SLIDER", 1, 0}},
        {"TkavScrollTrackBar", {"WINXP_TRACKBAR_SLIDER_V", 1, 0}},
        {"TkavTabControl", {"WINXP_TAB", 2, 0}},
        {"TkavPageControl", {"WINXP_TAB", 2, 0}},
        {"TkavTabSheet", {"WINXP_TAB", 2, 1}},
        {"TkavPanel", {"PANEL_BUTTON", 4, 0}},
        {"TkavImagePanel", {"PANEL_BUTTON", 4, 1}},
        {"TkavGroupBox", {"PANEL_BUTTON", 4, 2}},
        {"TkavForm", {"WINXP_TITLE_LEFT", 1, 0}},
        {"TkavTitleBar", {"WINXP_TITLE_LEFT", 1, 0}},
        {"TkavMainMenu", {"MACOS_MENU_SELECT", 1, 0}},
        {"TkavDBImage", {"MSNPOPFORM", 1, 0}},
        {"TkavDBGrid", {"WINXP_CHECKLIST", 1, 0}},
        {"TkavDBNavigator", {"DBNAV_BUTTON", 10, 0}},
    };
    return pictures;
}

} // namespace

namespace Kav {

QIcon designerIcon(const QString &className)
{
    const auto found = iconPictures().constFind(className);
    if (found == iconPictures().constEnd())
        return {};
    KavInitResources();
    const QImage picture(QStringLiteral(":/looks/") + QLatin1String(found->resource));
    if (picture.isNull() || found->frames < 1 || picture.width() < found->frames)
        return {};
    const int frameWidth = picture.width() / found->frames;
    QImage frame = picture.copy(frameWidth * found->frame, 0, frameWidth, picture.height())
                       .convertToFormat(QImage::Format_ARGB32);
    // Magenta marks the pixels a look never draws.
    for (int y = 0; y < frame.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            if ((row[x] & RGB_MASK) == 0xFF00FFu)
                row[x] = 0;
        }
    }

    // The frame in the middle of a square, smaller ones shown at their size so that no pixel
    // art is blurred, larger ones scaled down.
    constexpr int Side = 24;
    // A strip that a look tiles across a bar is shown as a piece of that bar.
    if (frame.width() <= 2)
        frame = frame.scaled(Side, std::min(frame.height(), Side));
    QPixmap icon(Side, Side);
    icon.fill(Qt::transparent);
    const QImage fitted = frame.width() > Side || frame.height() > Side
                              ? frame.scaled(Side, Side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              : frame;
    QPainter painter(&icon);
    painter.drawImage((Side - fitted.width()) / 2, (Side - fitted.height()) / 2, fitted);
    painter.end();
    return QIcon(icon);
}

} // namespace Kav
