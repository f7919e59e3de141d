#pragma once

#include "KAVStyleLook.h"
#include "KAVThemes.h"

#include <QPointer>
#include <QProxyStyle>

#include <memory>

class TkavFileTheme;
class TkavMenuStyle;

namespace Kav {

// Qt's own widgets in one of the skin's looks: a QStyle that draws QPushButton, QToolButton,
// QCheckBox, QRadioButton, QGroupBox, QLineEdit, the spin boxes, QComboBox and its list,
// QScrollBar (also in scroll areas), QSlider, QProgressBar, QTabBar and QTabWidget, QMenu,
// QMenuBar, QToolBar, frames of QFrame, scroll areas and item views, QHeaderView and the title
// bars of QMdiSubWindow from the same pictures, with the same painters and at the same sizes as
// the library's controls of that look; it gives them the look's palette. Everything else (dials,
// splitters, dock titles, size grips, tabs along the sides) is Fusion's, in the look's palette:
// Fusion is the base style, so that what no look describes still matches it in colour and
// proportion (a QCommonStyle base would draw those parts in the bevels of a decade earlier).
//
// The look can be changed in place (setLook): nothing is polished again, the widgets keep their
// attributes, and Qt only needs a new palette, a repaint and (where the sizes of the two looks
// differ) a new layout. Kav::KavSetApplicationLook does that for every window of a program.
//
// Painting only reads the look, which is prepared once per setLook: every picture comes ready
// from the picture store, and the faces composed from them are kept in the shared face cache.
class KavStyle : public QProxyStyle {
    Q_OBJECT

public:
    // A built-in look; FromThemeFile without a theme gives DeepBlue, as a control without one.
    explicit KavStyle(TkavUIStyle look = TkavUIStyle::DeepBlue);
    // The look of a theme file (not owned; should it be destroyed, the style shows DeepBlue). A
    // theme that cannot be used gives DeepBlue too.
    explicit KavStyle(TkavFileTheme *fileTheme);
    ~KavStyle() override;

    TkavUIStyle uiStyle() const { return m_look->uiStyle; }
    TkavFileTheme *fileTheme() const { return m_fileTheme; }
    // Takes another look (or the look of fileTheme with FromThemeFile). Returns whether widgets
    // must be laid out again because the looks measure differently. Widgets are not told: see
    // Kav::KavSetApplicationLook, or send them QEvent::StyleChange and a new palette.
    bool setLook(TkavUIStyle look, TkavFileTheme *fileTheme = nullptr);
    const KavStyleLook &look() const { return *m_look; }

    QPalette standardPalette() const override;
    void polish(QWidget *widget) override;
    void polish(QPalette &palette) override;
    using QProxyStyle::polish;

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &point,
                                     const QWidget *widget = nullptr) const override;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;

Q_SIGNALS:
    // The look changed (setLook); the style's own widgets are not told.
    void lookChanged();

private:
    void applyLook(TkavUIStyle look, TkavFileTheme *fileTheme);
    void installLook(KavStyleLook look);

    // The parts, each drawn from the look.
    void drawPushButton(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawCheckIndicator(const QStyleOption *option, QPainter *painter, bool radio) const;
    void drawGroupBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawSpinBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawComboBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawScrollBar(const QStyleOptionComplex *option, QPainter *painter) const;
    void drawSlider(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawProgressBar(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawTabShape(const QStyleOption *option, QPainter *painter) const;
    bool drawTabLabel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawTabPane(const QStyleOption *option, QPainter *painter) const;
    bool drawToolButton(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawTitleBar(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;

    std::unique_ptr<KavStyleLook> m_look;
    QPointer<TkavFileTheme> m_fileTheme;
    QMetaObject::Connection m_themeWatch;
    // Menus and menu bars are drawn by the skinned menus' own style, reading the look's menu skin
    // (kept here, where the menu style can always find it).
    Kav::TkavMenuSkin m_menuSkin;
    TkavMenuStyle *m_menuStyle = nullptr;
};

} // namespace Kav
