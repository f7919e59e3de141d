#include "GallerySections.h"

#include "GalleryLook.h"
#include "GalleryPictures.h"
#include "GalleryStateButton.h"
#include "KAVButton.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVRadioGroup.h"
#include "KAVURLLabel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace GallerySections {
namespace {

// The push button's size in every look.
constexpr QSize ButtonSize(80, 27);
// A button with its glyph above or below the caption needs room for both.
constexpr QSize TallButtonSize(80, 44);
constexpr int Gap = 6;

TkavButton *button(QWidget *parent, const QString &caption, QSize size = ButtonSize)
{
    auto *result = new TkavButton(parent);
    result->setCaption(caption);
    result->setFixedSize(size);
    return result;
}

TkavButton *glyphButton(QWidget *parent, const QString &caption, TButtonLayout layout, QSize size)
{
    TkavButton *result = button(parent, caption, size);
    result->setGlyph(GalleryPictures::tickGlyph());
    result->setLayout(layout);
    return result;
}

QLabel *rowLabel(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setMinimumWidth(label->sizeHint().width());
    return label;
}

TkavCheckBox *checkBox(QWidget *parent, const QString &caption, bool checked, bool enabled)
{
    auto *box = new TkavCheckBox(parent);
    box->setCaption(caption);
    box->setChecked(checked);
    box->setEnabled(enabled);
    return box;
}

TkavRadioButton *radioButton(QWidget *parent, const QString &caption, int groupIndex, bool checked,
                             bool enabled)
{
    auto *radio = new TkavRadioButton(parent);
    radio->setCaption(caption);
    radio->setGroupIndex(groupIndex);
    radio->setChecked(checked);
    radio->setEnabled(enabled);
    return radio;
}

// An image button with pictures of its own for all four states; its magenta corners let the
// parent show.
TkavImageButton *playButton(QWidget *parent, bool enabled)
{
    auto *play = new TkavImageButton(parent);
    play->setToolTip(QStringLiteral("Play")); // its name for screen readers: the picture has no caption
    play->setTransparent(true);
    play->setAutoSize(true);
    play->setPicNormal(GalleryPictures::playButton(GalleryPictures::PlayState::Normal));
    play->setPicMouseOn(GalleryPictures::playButton(GalleryPictures::PlayState::MouseOn));
    play->setPicMouseDown(GalleryPictures::playButton(GalleryPictures::PlayState::MouseDown));
    play->setPicDisabled(GalleryPictures::playButton(GalleryPictures::PlayState::Disabled));
    play->setFixedSize(play->sizeHint());
    play->setEnabled(enabled);
    return play;
}


} // namespace

TkavGroupBox *section(QWidget *parent, const QString &caption, QGridLayout **grid)
{
    auto *box = new TkavGroupBox(parent);
    box->setCaption(caption);
    *grid = new QGridLayout(box);
    (*grid)->setContentsMargins(8, 6, 8, 8);
    (*grid)->setHorizontalSpacing(Gap);
    (*grid)->setVerticalSpacing(Gap);
    return box;
}

QWidget *pushButtons(QWidget *parent, QWidget **focused)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Push buttons"), &grid);

    grid->addWidget(button(box, QStringLiteral("Normal")), 0, 0);
    TkavButton *defaultButton = button(box, QStringLiteral("Default"));
    defaultButton->setDefault(true);
    defaultButton->setToolTip(
        QStringLiteral("Default = True: Enter anywhere in the window clicks it"));
    grid->addWidget(defaultButton, 0, 1);
    TkavButton *disabled = button(box, QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    grid->addWidget(disabled, 0, 2);

    auto *mouseOver = new GalleryStateButton(GalleryStateButton::Face::MouseOver, box);
    mouseOver->setCaption(QStringLiteral("Hover"));
    mouseOver->setFixedSize(ButtonSize);
    mouseOver->setToolTip(QStringLiteral("The mouse-over face, shown at rest"));
    grid->addWidget(mouseOver, 1, 0);
    auto *pressed = new GalleryStateButton(GalleryStateButton::Face::Pressed, box);
    pressed->setCaption(QStringLiteral("Pressed"));
    pressed->setFixedSize(ButtonSize);
    pressed->setToolTip(QStringLiteral("The pressed face, shown at rest"));
    grid->addWidget(pressed, 1, 1);
    TkavButton *withFocus = button(box, QStringLiteral("Focused"));
    withFocus->setToolTip(QStringLiteral("MacOS and BlueGlass show the focus as a bold caption"));
    grid->addWidget(withFocus, 1, 2);
    *focused = withFocus;

    grid->addWidget(glyphButton(box, QStringLiteral("Left"), TkavButton::blGlyphLeft, ButtonSize),
                    2, 0);
    grid->addWidget(glyphButton(box, QStringLiteral("Right"), TkavButton::blGlyphRight, ButtonSize),
                    2, 1);
    TkavButton *star = button(box, QStringLiteral("Star"));
    star->setGlyph(GalleryPictures::twoImageStarGlyph());
    star->setToolTip(QStringLiteral("A glyph of two images: enabled, disabled"));
    grid->addWidget(star, 2, 2);

    grid->addWidget(glyphButton(box, QStringLiteral("Top"), TkavButton::blGlyphTop, TallButtonSize),
                    3, 0);
    grid->addWidget(
        glyphButton(box, QStringLiteral("Bottom"), TkavButton::blGlyphBottom, TallButtonSize), 3,
        1);
    TkavButton *starDisabled = button(box, QStringLiteral("Star"));
    starDisabled->setGlyph(GalleryPictures::twoImageStarGlyph());
    starDisabled->setEnabled(false);
    grid->addWidget(starDisabled, 3, 2, Qt::AlignTop);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget *seeThrough(QWidget *parent, GalleryLookFollowers &followers)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Image panel, buttons on a picture"), &grid);

    auto *backdrop = new TkavImagePanel(box);
    backdrop->setPicture(GalleryPictures::stripedBackdrop());
    backdrop->setDrawStyle(TkavCustomPanel::kavTile);
    backdrop->setFixedHeight(47);
    auto *row = new QHBoxLayout(backdrop);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(Gap);
    // Wider than the other push buttons: its caption needs room from both edges.
    TkavButton *transparent = button(backdrop, QStringLiteral("See-through"), QSize(96, ButtonSize.height()));
    transparent->setToolTip(
        QStringLiteral("Transparent = True: the picture shows through the corners"));
    row->addWidget(transparent);
    row->addWidget(playButton(backdrop, true), 0, Qt::AlignVCenter);
    row->addStretch(1);
    grid->addWidget(backdrop, 0, 0);

    // A look sets Transparent from its ButtonTransparentBool; this one shows it in every look.
    followers.append([transparent](const KavThemeValues &) { transparent->setTransparent(true); });
    return box;
}

QWidget *otherButtons(QWidget *parent, GalleryLookFollowers &followers)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box =
        section(parent, QStringLiteral("Image, arrow, control and speed buttons"), &grid);

    // Image buttons: four pictures of their own, and a pair cut from the look's scroll-bar arrows.
    auto *images = new QHBoxLayout;
    images->setSpacing(Gap);
    for (bool enabled : {true, false})
        images->addWidget(playButton(box, enabled));
    QList<TkavImageButton *> scrollArrows;
    for (int first : {1, 4}) {
        auto *arrow = new TkavImageButton(box);
        arrow->setAutoSize(true);
        arrow->setToolTip(
            QStringLiteral("Pictures: frames %1-%2 of the look's ScrollBarButtonImage")
                .arg(first)
                .arg(first + 2));
        arrow->setProperty("firstFrame", first);
        arrow->setAccessibleName(first == 1 ? QStringLiteral("Arrow up") : QStringLiteral("Arrow down"));
        scrollArrows.append(arrow);
        images->addWidget(arrow);
    }
    images->addStretch(1);
    grid->addWidget(rowLabel(box, QStringLiteral("Image")), 0, 0);
    grid->addLayout(images, 0, 1);
    followers.append([scrollArrows](const KavThemeValues &values) {
        for (TkavImageButton *arrow : scrollArrows) {
            const int first = arrow->property("firstFrame").toInt();
            arrow->setPicNormal(GalleryLookPicture(values, KavKey::ScrollBarButtonImage, 6, first));
            arrow->setPicMouseOn(
                GalleryLookPicture(values, KavKey::ScrollBarButtonImage, 6, first + 1));
            arrow->setPicMouseDown(
                GalleryLookPicture(values, KavKey::ScrollBarButtonImage, 6, first + 2));
            arrow->setFixedSize(arrow->sizeHint());
        }
    });

    // Arrow buttons: a little spinner; held down, they repeat.
    auto *spin = new QHBoxLayout;
    spin->setSpacing(Gap);
    auto *value = new QLabel(QStringLiteral("5"), box);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(1);
    for (TkavArrowButtonType direction : {TKavArrowButton::kavUp, TKavArrowButton::kavDown}) {
        auto *arrow = new TKavArrowButton(box);
        arrow->setArrow(direction);
        arrow->setFixedSize(17, 12);
        arrow->setMouseContinuouslyDownInterval(100);
        const int step = direction == TKavArrowButton::kavUp ? 1 : -1;
        auto change = [value, step] {
            value->setNum(std::clamp(value->text().toInt() + step, 0, 999));
        };
        QObject::connect(arrow, &TkavCustomButton::OnClick, value, change);
        QObject::connect(arrow, &TkavCustomButton::OnMouseContinuouslyDown, value, change);
        arrows->addWidget(arrow);
    }
    spin->addWidget(value);
    spin->addLayout(arrows);
    spin->addStretch(1);
    grid->addWidget(rowLabel(box, QStringLiteral("Arrow")), 1, 0);
    grid->addLayout(spin, 1, 1);

    // Control buttons: the title-bar buttons of the look, one frame each (the next one under the
    // mouse), on a strip of the look's title bar, which they are drawn for.
    auto *titleBar = new TkavImagePanel(box);
    titleBar->setDrawStyle(TkavCustomPanel::kavStretch);
    auto *controls = new QHBoxLayout(titleBar);
    controls->setContentsMargins(4, 0, 4, 0);
    controls->setSpacing(2);
    QList<TkavControlButton *> controlButtons;
    for (int frame : {1, 4, 7, 10, 13, 16}) {
        auto *control = new TkavControlButton(titleBar);
        control->setThemeID(KavKey::TitleBarButtonImage);
        control->setPicCount(18);
        control->setPicIndex(frame);
        control->setTransparent(true);
        // Reachable by Tab in the gallery, so that each can be tried from the keyboard; screen
        // readers name it after the title-bar button it shows.
        control->setTabStop(true);
        controlButtons.append(control);
        controls->addWidget(control, 0, Qt::AlignVCenter);
    }
    controls->addStretch(1);
    grid->addWidget(rowLabel(box, QStringLiteral("Control")), 2, 0);
    grid->addWidget(titleBar, 2, 1);
    followers.append([titleBar, controlButtons](const KavThemeValues &values) {
        // Without a bar picture the buttons sit on the panel's colour.
        const QImage bar = GalleryLookPicture(values, KavKey::TitleBarClientImage);
        titleBar->setPicture(bar);
        titleBar->setFixedHeight(std::max(bar.height(), 21));
        for (TkavControlButton *control : controlButtons)
            control->setFixedSize(control->sizeHint());
    });

    // Speed buttons: flat glyph buttons, framed under the mouse.
    auto *speed = new QHBoxLayout;
    speed->setSpacing(2);
    QList<TkavToolBarSpeedButton *> speedButtons;
    const QStringList tips{QStringLiteral("Minimise"), QStringLiteral("Restore"),
                           QStringLiteral("Close")};
    for (int frame = 1; frame <= 3; ++frame) {
        auto *speedButton = new TkavToolBarSpeedButton(box);
        speedButton->setGlyph(GalleryPictures::mdiControlGlyph(frame));
        speedButton->setToolTip(tips.at(frame - 1));
        speedButton->setFixedSize(speedButton->sizeHint());
        speedButtons.append(speedButton);
        speed->addWidget(speedButton);
    }
    speed->addStretch(1);
    grid->addWidget(rowLabel(box, QStringLiteral("Speed")), 3, 0);
    grid->addLayout(speed, 3, 1);
    followers.append([speedButtons](const KavThemeValues &values) {
        for (TkavToolBarSpeedButton *speedButton : speedButtons)
            speedButton->setColor(values.color(KavKey::FormBackgroundColor).resolved());
    });

    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *checkBoxes(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Check boxes"), &grid);
    grid->addWidget(checkBox(box, QStringLiteral("Checked"), true, true), 0, 0);
    grid->addWidget(checkBox(box, QStringLiteral("Unchecked"), false, true), 0, 1);
    grid->addWidget(checkBox(box, QStringLiteral("Disabled, checked"), true, false), 1, 0);
    grid->addWidget(checkBox(box, QStringLiteral("Disabled"), false, false), 1, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget *radioButtons(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Radio buttons"), &grid);
    grid->addWidget(radioButton(box, QStringLiteral("Up to 10"), 0, true, true), 0, 0);
    grid->addWidget(radioButton(box, QStringLiteral("Up to 100"), 0, false, true), 1, 0);
    grid->addWidget(radioButton(box, QStringLiteral("Up to 1000"), 0, false, true), 2, 0);
    // A group of their own, so that they keep their states.
    grid->addWidget(radioButton(box, QStringLiteral("Disabled, checked"), 1, true, false), 0, 1);
    grid->addWidget(radioButton(box, QStringLiteral("Disabled"), 1, false, false), 1, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget *checkGroup(QWidget *parent)
{
    auto *group = new TkavCheckGroup(parent);
    group->setCaption(QStringLiteral("Check group, two columns"));
    group->setItems({QStringLiteral("Addition"), QStringLiteral("Subtraction"),
                     QStringLiteral("Multiplication"), QStringLiteral("Division"),
                     QStringLiteral("Remainders"), QStringLiteral("Fractions (disabled)")});
    group->setColumns(2);
    group->setChecked(0, true);
    group->setChecked(2, true);
    group->setItemEnabled(5, false);
    group->setFixedHeight(92);
    return group;
}

QWidget *radioGroup(QWidget *parent)
{
    auto *group = new TkavRadioGroup(parent);
    group->setCaption(QStringLiteral("Radio group, three columns"));
    group->setItems({QStringLiteral("5 min"), QStringLiteral("10 min"), QStringLiteral("15 min"),
                     QStringLiteral("20 min"), QStringLiteral("30 min"),
                     QStringLiteral("No limit")});
    group->setColumns(3);
    group->setItemIndex(1);
    group->setFixedHeight(70);
    return group;
}

QWidget *rollingPanel(QWidget *parent)
{
    auto *panel = new TkavPanel(parent);
    panel->setCaption(QStringLiteral("Panel: the arrows roll it up"));
    panel->setShowButton(true);
    panel->setColor(QColor(Qt::white)); // the controls inside take it as their background
    auto *inside = new QVBoxLayout(panel);
    inside->setContentsMargins(8, 6, 8, 6);
    inside->setSpacing(Gap);
    inside->addWidget(checkBox(panel, QStringLiteral("A check box inside the panel"), true, true));
    auto *row = new QHBoxLayout;
    row->addWidget(button(panel, QStringLiteral("Button")));
    auto *note = new QLabel(QStringLiteral("Everything in it rolls away\nwith the panel."), panel);
    row->addWidget(note);
    row->addStretch(1);
    inside->addLayout(row);
    inside->addStretch(1);
    // It takes the rest of its column; rolling holds it at its caption bar.
    panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    panel->setMinimumHeight(0);
    return panel;
}

QWidget *plainPanel(QWidget *parent)
{
    auto *panel = new TkavPanel(parent);
    panel->setCaption(QStringLiteral("Panel without its push button"));
    panel->setShowButton(false);
    panel->setColor(QColor(Qt::white)); // the controls inside take it as their background
    auto *inside = new QVBoxLayout(panel);
    inside->setContentsMargins(8, 6, 8, 6);
    inside->addWidget(
        new QLabel(QStringLiteral("ShowButton = False, as the exam window's panels."), panel));
    inside->addStretch(1);
    panel->setFixedHeight(58);
    return panel;
}

QWidget *urlLabels(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("URL labels"), &grid);
    auto *plain = new TkavURLLabel(box);
    plain->setCaption(QStringLiteral("The library's home page"));
    grid->addWidget(plain, 0, 0);
    auto *coloured = new TkavURLLabel(box);
    coloured->setCaption(QStringLiteral("Colours of its own"));
    coloured->setFontLinkColor(QColor(0x1B, 0x8A, 0x3C));
    coloured->setFontHoverColor(QColor(0xE0, 0x6C, 0x00));
    grid->addWidget(coloured, 1, 0);
    grid->setColumnStretch(1, 1);
    return box;
}

} // namespace GallerySections
