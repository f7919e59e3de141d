#include "KAVThemes.h"

#include "KAVFunctions.h"
#include "KAVPictureStore.h"

#include <QFile>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <array>
#include <iterator>

namespace {

struct KeyInfo {
    const char *name;
    TkavType kind;
    int frames;
};

// Index 0 is unused so that the tables read with key numbers directly.
constexpr KeyInfo kKeys[KavThemeKeyCount + 1] = {
    {"", TkavType::Int, 0},
#define KAV_THEME_KEY_INFO(number, name, kind, frames) {#name, TkavType::kind, frames},
    KAV_THEME_KEYS(KAV_THEME_KEY_INFO)
#undef KAV_THEME_KEY_INFO
};

constexpr bool keysAreNumberedInOrder()
{
    int expected = 1;
#define KAV_THEME_KEY_CHECK(number, name, kind, frames)                                                    \
    if (number != expected++)                                                                      \
        return false;
    KAV_THEME_KEYS(KAV_THEME_KEY_CHECK)
#undef KAV_THEME_KEY_CHECK
    return expected == KavThemeKeyCount + 1;
}
static_assert(keysAreNumberedInOrder(), "theme keys must be numbered 1..42 without gaps");

// One built-in value: a raw 32-bit number (integer, BBGGRR colour or 0/1) or a picture name,
// tagged with the kind it was written as so that the tables can be checked against the keys.
struct LookValue {
    TkavType kind;
    qint32 raw;
    const char *picture;
};

constexpr LookValue I(qint32 value) { return {TkavType::Int, value, nullptr}; }
constexpr LookValue C(quint32 bbggrr) { return {TkavType::Color, qint32(bbggrr), nullptr}; }
constexpr LookValue B(bool value) { return {TkavType::Bool, value ? 1 : 0, nullptr}; }
constexpr LookValue S(const char *name) { return {TkavType::Str, 0, name}; }

using Look = std::array<LookValue, KavThemeKeyCount>;

// Element k-1 holds key k.
constexpr Look kMacOS = {
    S("MACOS_BUTTON"), B(true), S("MACOS_CHECKBOX"), S("MACOS_RADIOBUTTON"), S("MACOS_TITLEBTN"),
    B(false), I(3), I(-2), I(4), S("MACOS_TITLE_LEFT"), S("MACOS_TITLE_CLIENT"),
    S("MACOS_TITLE_RIGHT"), I(130), I(0), C(0xE7E7E7), C(0x7F7F7F), I(1), C(0xC47339),
    C(0xC47339), C(0xFFFFFF), C(0x000000), C(0x000000), C(0x000000), S("MACOS_PROGRESSBAR"),
    C(0x7F7F7F), C(0xE7E7E7), C(0x000000), S("MACOS_TRACKBAR_BAR"), S("MACOS_TRACKBAR_SLIDER"),
    S("MACOS_TRACKBAR_SLIDER_V"), C(0xC9C9C9), S("MACOS_SCROLLBAR_BUTTON"),
    S("MACOS_SCROLLBAR_TRACK"), S("MACOS_CHECKLIST"), C(0x474747), C(0xEFEFEF), C(0xD8D8D8),
    S("MACOS_SCROLLBUTTON"), S("MACOS_TAB"), S("MACOS_TAB_LINE"), S("MACOS_SIDECHENNEL_HANDLE"),
    S("MACOS_SIDECHENNEL_BAR"),
};

constexpr Look kWinXP = {
    S("WINXP_BUTTON"), B(false), S("WINXP_CHECKBOX"), S("WINXP_RADIOBUTTON"), S("WINXP_TITLEBTN"),
    B(false), I(2), I(-2), I(5), S("WINXP_TITLE_LEFT"), S("WINXP_TITLE_CLIENT"),
    S("WINXP_TITLE_RIGHT"), I(150), I(13), C(0xDEEBEF), C(0xC82C00), I(3), C(0xC66931),
    C(0xEFD3C6), C(0x000000), C(0xFFFFFF), C(0x000000), C(0xCED3D6), S("WINXP_PROGRESSBAR"),
    C(0x686868), C(0xDEEBEF), C(0xCF4602), S("WINXP_TRACKBAR_BAR"), S("WINXP_TRACKBAR_SLIDER"),
    S("WINXP_TRACKBAR_SLIDER_V"), C(0xF9F9F9), S("WINXP_SCROLLBAR_BUTTON"),
    S("WINXP_SCROLLBAR_TRACK"), S("WINXP_CHECKLIST"), C(0xC66931), C(0xEFD3C6), C(0xE1AC93),
    S("WINXP_SCROLLBUTTON"), S("WINXP_TAB"), S("WINXP_TAB_LINE"), S("WINXP_SIDECHENNEL_HANDLE"),
    S("WINXP_SIDECHENNEL_BAR"),
};

constexpr Look kDeepBlue = {
    S("DEEPBLUE_BUTTON"), B(false), S("DEEPBLUE_CHECKBOX"), S("DEEPBLUE_RADIOBUTTON"),
    S("DEEPBLUE_TITLEBTN"), B(false), I(0), I(0), I(2), S("DEEPBLUE_TITLE_LEFT"),
    S("DEEPBLUE_TITLE_CLIENT"), S("DEEPBLUE_TITLE_RIGHT"), I(130), I(0), C(0xE8E8E8),
    C(0x000000), I(1), C(0xA04A44), C(0xA04A44), C(0xFFFFFF), C(0xFFFFFF), C(0x000000),
    C(0xCED3D6), S("DEEPBLUE_PROGRESSBAR"), C(0x000000), C(0xE8E8E8), C(0x000000),
    S("DEEPBLUE_TRACKBAR_BAR"), S("DEEPBLUE_TRACKBAR_SLIDER"), S("DEEPBLUE_TRACKBAR_SLIDER_V"),
    C(0xF5F5F5), S("DEEPBLUE_SCROLLBAR_BUTTON"), S("DEEPBLUE_SCROLLBAR_TRACK"),
    S("DEEPBLUE_CHECKLIST"), C(0x474747), C(0xEFEFEF), C(0xD8D8D8), S("MORE_SCROLLBUTTON"),
    S("DEEPBLUE_TAB"), S("DEEPBLUE_TAB_LINE"), S("DEEPBLUE_SIDECHENNEL_HANDLE"),
    S("DEEPBLUE_SIDECHENNEL_BAR"),
};

constexpr Look kProtein = {
    S("PROTEIN_BUTTON"), B(false), S("PROTEIN_CHECKBOX"), S("PROTEIN_RADIOBUTTON"),
    S("PROTEIN_TITLEBTN"), B(true), I(0), I(0), I(2), S("PROTEIN_TITLE_LEFT"),
    S("PROTEIN_TITLE_CLIENT"), S("PROTEIN_TITLE_RIGHT"), I(130), I(0), C(0xFBFBFB), C(0x000000),
    I(1), C(0xC4302D), C(0xC4302D), C(0xFFFFFF), C(0xFFFFFF), C(0x000000), C(0xCED3D6),
    S("PROTEIN_PROGRESSBAR"), C(0x000000), C(0xFBFBFB), C(0x000000), S("PROTEIN_TRACKBAR_BAR"),
    S("PROTEIN_TRACKBAR_SLIDER"), S("PROTEIN_TRACKBAR_SLIDER_V"), C(0xF5F5F5),
    S("PROTEIN_SCROLLBAR_BUTTON"), S("PROTEIN_SCROLLBAR_TRACK"), S("PROTEIN_CHECKLIST"),
    C(0x474747), C(0xEFEFEF), C(0xD8D8D8), S("MORE_SCROLLBUTTON"), S("PROTEIN_TAB"),
    S("PROTEIN_TAB_LINE"), S("PROTEIN_SIDECHENNEL_HANDLE"), S("PROTEIN_SIDECHENNEL_BAR"),
};

constexpr Look kBlueGlass = {
    S("BLUEGLASS_BUTTON"), B(true), S("BLUEGLASS_CHECKBOX"), S("BLUEGLASS_RADIOBUTTON"),
    S("BLUEGLASS_TITLEBTN"), B(true), I(4), I(-3), I(6), S("BLUEGLASS_TITLE_LEFT"),
    S("BLUEGLASS_TITLE_CLIENT"), S("BLUEGLASS_TITLE_RIGHT"), I(270), I(11), C(0xE7E7E7),
    C(0x000000), I(1), C(0xEC5E5E), C(0xEC5E5E), C(0xFFFFFF), C(0xE7E7E7), C(0x000000),
    C(0xCED3D6), S("BLUEGLASS_PROGRESSBAR"), C(0x000000), C(0xE7E7E7), C(0x000000),
    S("BLUEGLASS_TRACKBAR_BAR"), S("BLUEGLASS_TRACKBAR_SLIDER"), S("BLUEGLASS_TRACKBAR_SLIDER_V"),
    C(0xF4F4F4), S("BLUEGLASS_SCROLLBAR_BUTTON"), S("BLUEGLASS_SCROLLBAR_TRACK"),
    S("BLUEGLASS_CHECKLIST"), C(0x474747), C(0xEFEFEF), C(0xD8D8D8), S("MORE_SCROLLBUTTON"),
    S("BLUEGLASS_TAB"), S("BLUEGLASS_TAB_LINE"), S("BLUEGLASS_SIDECHENNEL_HANDLE"),
    S("BLUEGLASS_SIDECHENNEL_BAR"),
};

// Every value must be written as the kind its key declares, and every picture must be named.
constexpr bool matchesKeyKinds(const Look &look)
{
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        const LookValue &value = look[key - 1];
        if (value.kind != kKeys[key].kind)
            return false;
        if (value.kind == TkavType::Str && (value.picture == nullptr || *value.picture == '\0'))
            return false;
    }
    return true;
}
static_assert(matchesKeyKinds(kMacOS), "MacOS values do not match the key kinds");
static_assert(matchesKeyKinds(kWinXP), "WinXP values do not match the key kinds");
static_assert(matchesKeyKinds(kDeepBlue), "DeepBlue values do not match the key kinds");
static_assert(matchesKeyKinds(kProtein), "Protein values do not match the key kinds");
static_assert(matchesKeyKinds(kBlueGlass), "BlueGlass values do not match the key kinds");

// The looks' ways of their own, one row per TkavUIStyle in its order.
struct TraitsRow {
    TkavUIStyle style;
    Kav::TkavLookTraits traits;
};

constexpr TraitsRow kTraits[] = {
    // A file theme's look has none of the built-in looks' ways.
    {TkavUIStyle::FromThemeFile, {}},
    {TkavUIStyle::MacOS,
     {.boldFocusCaption = true,
      .formBackgroundPicture = "MACOS_FORM_BACKGROUND",
      .pictureMenus = true,
      .titleCaptionColor = TColor(0x000000),
      .blackPanelCaption = true,
      .comboButtonPicture = "MACOS_COMBOBOX_BUTTON",
      .transparentTrackBar = true,
      .transparentToolBar = true}},
    {TkavUIStyle::WinXP,
     {.titleBarOutline = false,
      .comboButtonPicture = "WINXP_COMBOBOX_BUTTON",
      .comboButtonArrow = false,
      .whiteTabBody = true}},
    {TkavUIStyle::DeepBlue, {}},
    {TkavUIStyle::Protein, {.formBackgroundPicture = "PROTEIN_FORM_BACKGROUND", .transparentToolBar = true}},
    {TkavUIStyle::BlueGlass, {.boldFocusCaption = true}},
};

constexpr bool traitsInLookOrder()
{
    for (int index = 0; index < Kav::KavUIStyleCount; ++index) {
        if (int(kTraits[index].style) != index)
            return false;
    }
    return true;
}
static_assert(std::size(kTraits) == Kav::KavUIStyleCount, "one row of traits per look");
static_assert(traitsInLookOrder(), "the rows of traits must follow TkavUIStyle");

const Look *lookOf(TkavUIStyle style)
{
    switch (style) {
    case TkavUIStyle::MacOS:
        return &kMacOS;
    case TkavUIStyle::WinXP:
        return &kWinXP;
    case TkavUIStyle::DeepBlue:
        return &kDeepBlue;
    case TkavUIStyle::Protein:
        return &kProtein;
    case TkavUIStyle::BlueGlass:
        return &kBlueGlass;
    case TkavUIStyle::FromThemeFile:
        break;
    }
    return nullptr;
}

bool isKey(int key) { return key >= 1 && key <= KavThemeKeyCount; }

// The built-in value of (style, key), or nullptr where there is none (FromThemeFile, an
// out-of-range style, or a key outside the table), which the lookups answer neutrally.
const LookValue *builtInValue(TkavUIStyle style, int key)
{
    const Look *look = lookOf(style);
    if (look == nullptr || !isKey(key))
        return nullptr;
    return &(*look)[key - 1];
}

const LookValue *builtInValueOfKind(TkavUIStyle style, int key, TkavType kind)
{
    const LookValue *value = builtInValue(style, key);
    return value != nullptr && value->kind == kind ? value : nullptr;
}

} // namespace

QString Kav::KavThemeKeyName(int key)
{
    return isKey(key) ? QString::fromLatin1(kKeys[key].name) : QString();
}

TkavType Kav::KavThemeKeyKind(int key) { return isKey(key) ? kKeys[key].kind : TkavType::Int; }

int Kav::KavThemeKeyFrameCount(int key) { return isKey(key) ? kKeys[key].frames : 0; }

int Kav::KavThemeKeyByName(QStringView name)
{
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        if (name.compare(QLatin1StringView(kKeys[key].name), Qt::CaseInsensitive) == 0)
            return key;
    }
    return 0;
}

EKavResourceNotFound::EKavResourceNotFound(const QString &name)
    : std::runtime_error(QStringLiteral("Resource %1 not found").arg(name).toStdString()),
      m_name(name)
{
}

QImage Kav::KavLoadResourceBitmap(const QString &name)
{
    // An empty name would address the folder itself; it names no picture.
    if (name.isEmpty())
        throw EKavResourceNotFound(name);
    // The store decodes each resource once per process; a picture that cannot be decoded is as
    // unusable to the caller as a missing one.
    const Kav::TkavPicture picture = Kav::TkavPictureStore::instance().resourcePicture(name);
    if (picture.isNull())
        throw EKavResourceNotFound(name);
    return picture.image();
}

bool GetInsideThemeBool(TkavUIStyle style, int key)
{
    const LookValue *value = builtInValueOfKind(style, key, TkavType::Bool);
    return value != nullptr && (value->raw & 0xFF) != 0;
}

TColor GetInsideThemeColor(TkavUIStyle style, int key)
{
    const LookValue *value = builtInValueOfKind(style, key, TkavType::Color);
    return value != nullptr ? TColor(quint32(value->raw)) : TColor(0);
}

int GetInsideThemeInt(TkavUIStyle style, int key)
{
    const LookValue *value = builtInValueOfKind(style, key, TkavType::Int);
    return value != nullptr ? value->raw : -1;
}

QString GetInsideThemeStr(TkavUIStyle style, int key)
{
    const LookValue *value = builtInValueOfKind(style, key, TkavType::Str);
    return value != nullptr ? QString::fromLatin1(value->picture) : QString();
}

void GetInsideThemeBitmap(TkavUIStyle style, int key, QImage *bitmap, int frameCount,
                          int frameNumber)
{
    if (bitmap == nullptr)
        return;
    const QString name = GetInsideThemeStr(style, key);
    // No picture behaves as an empty one: the whole of it changes nothing, any frame of it is
    // empty.
    const QImage picture = name.isEmpty() ? QImage() : Kav::KavLoadResourceBitmap(name);
    if (frameCount == 0) {
        if (!picture.isNull())
            *bitmap = picture;
        return;
    }
    SpitBitmap(picture, *bitmap, frameCount, frameNumber);
}

const Kav::TkavLookTraits &Kav::lookTraits(TkavUIStyle style)
{
    const int index = int(style);
    return kTraits[index >= 0 && index < KavUIStyleCount ? index : int(TkavUIStyle::DeepBlue)].traits;
}

bool Kav::KavIsFormSkin(const QObject *object)
{
    const QMetaObject *meta = object ? object->metaObject() : nullptr;
    return meta && meta->indexOfClassInfo(KavFormSkinClassInfo) >= 0;
}

namespace {

// How far the children of one form have been looked through for its form skin.
struct FormSkinScan {
    QPointer<const QWidget> form;
    qsizetype checked = 0;              // children looked at, from the first
    const QObject *lastChecked = nullptr;
    qsizetype skinIndex = -1;           // where the skin was found, -1 for not yet
};

// The first form skin among the form's direct children. Every control asks it of its form as it
// is made, when the form holds more children each time: looking through all of them each time
// made building a window of thousands of controls quadratic. So each form's children are looked at
// once, and looked through again from the start only when the children already seen have changed
// (one removed or moved shifts the one last seen, or the skin).
QObject *firstFormSkin(const QWidget *form)
{
    thread_local QHash<const QWidget *, FormSkinScan> scans;
    if (scans.size() > 64) {
        // Forget the forms that are gone.
        for (auto it = scans.begin(); it != scans.end();)
            it = it->form ? std::next(it) : scans.erase(it);
    }
    FormSkinScan &scan = scans[form];
    const QObjectList &children = form->children();
    if (scan.form != form)
        scan = FormSkinScan{form};
    if (scan.skinIndex >= 0) {
        if (scan.skinIndex < children.size() && Kav::KavIsFormSkin(children.at(scan.skinIndex)))
            return children.at(scan.skinIndex);
        scan = FormSkinScan{form};
    }
    if (scan.checked > children.size() || (scan.checked > 0 && children.at(scan.checked - 1) != scan.lastChecked))
        scan = FormSkinScan{form};
    for (; scan.checked < children.size(); ++scan.checked) {
        QObject *child = children.at(scan.checked);
        if (Kav::KavIsFormSkin(child)) {
            scan.skinIndex = scan.checked;
            return child;
        }
        scan.lastChecked = child;
    }
    return nullptr;
}

} // namespace

TkavUIStyle GetKAVFormStyle(QObject *owner)
{
    const auto *form = qobject_cast<QWidget *>(owner);
    if (form == nullptr || !form->isWindow())
        return TkavUIStyle::DeepBlue;
    if (const QObject *skin = firstFormSkin(form))
        return skin->property("UIStyle").value<TkavUIStyle>();
    return TkavUIStyle::DeepBlue;
}
