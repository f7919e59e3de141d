#!/usr/bin/env python3
"""Writes resources/forms/form_main.ui, the exam window's definition.

The window holds 100 question rows of six controls each; writing them by hand would invite
slips in the composed names and positions, so this script lays them out from the row rules and
its output is the committed form definition. Run it again after changing the layout here.

Font pixel sizes and colours are dynamic properties (kavFontPixelSize, kavFontColor, kavColor)
that the window applies after loading: Designer files store fonts in points only.
"""
import sys
from xml.sax.saxutils import escape

SONG = "宋体"
SANS = "MS Sans Serif"
GREY = "#7f7f7f"

out = []
tab_order = []


def w(line):
    out.append(line)


def prop(name, inner, stdset=True):
    extra = "" if stdset else ' stdset="0"'
    w(f'<property name="{name}"{extra}>{inner}</property>')


def string(name, text, stdset=True):
    prop(name, f"<string>{escape(text)}</string>", stdset)


def geometry(x, y, width, height):
    prop("geometry", f"<rect><x>{x}</x><y>{y}</y><width>{width}</width><height>{height}</height></rect>")


def font(family=None, pixels=None, bold=None, underline=None):
    parts = []
    if family:
        parts.append(f"<family>{escape(family)}</family>")
    if bold is not None:
        parts.append(f"<bold>{'true' if bold else 'false'}</bold>")
    if underline:
        parts.append("<underline>true</underline>")
    if parts:
        prop("font", "<font>" + "".join(parts) + "</font>")
    if pixels:
        prop("kavFontPixelSize", f"<number>{pixels}</number>", stdset=False)


def colour(role, value):
    string(role, value, stdset=False)


def rgb(name, red, green, blue):
    prop(name, f"<color><red>{red}</red><green>{green}</green><blue>{blue}</blue></color>")


def look(style="MacOS"):
    prop("UIStyle", f"<enum>Kav::TkavUIStyle::{style}</enum>")


def flag(name, value):
    prop(name, f"<bool>{'true' if value else 'false'}</bool>")


def open_widget(cls, name):
    w(f'<widget class="{cls}" name="{name}">')


def close_widget():
    w("</widget>")


def label(name, x, y, width, height, text="", align=None, color=None, **font_args):
    open_widget("QLabel", name)
    geometry(x, y, width, height)
    if font_args:
        font(**font_args)
    if color:
        colour("kavFontColor", color)
    if align:
        prop("alignment", f"<set>{align}</set>")
    string("text", text)
    close_widget()


def button(name, x, y, text, width=80, height=27, page_button=False):
    open_widget("TkavButton", name)
    geometry(x, y, width, height)
    if page_button:
        font(family=SONG, pixels=12, bold=False)
        colour("kavFontColor", "#000000")
    look()
    flag("Transparent", True)
    string("Caption", text)
    close_widget()
    tab_order.append(name)


def radio(name, y, text, checked):
    open_widget("TkavRadioButton", name)
    geometry(24, y, 105, 21)
    look()
    flag("Transparent", False)
    rgb("Color", 255, 255, 255)
    prop("GroupIndex", "<number>0</number>")
    string("Caption", text)
    flag("Checked", checked)
    close_widget()
    tab_order.append(name)


def group_box(name, x, y, width, height, caption):
    open_widget("TkavCheckGroup", name)
    geometry(x, y, width, height)
    font(family=SANS, pixels=11)
    look()
    rgb("FontColor", 0, 0, 0)
    rgb("BorderColor", 127, 127, 127)
    rgb("Color", 255, 255, 255)
    prop("Columns", "<number>1</number>")
    prop("TopMargin", "<number>8</number>")
    string("Caption", caption)


def group(name, x, y, width, height, caption, choices, checked):
    group_box(name, x, y, width, height, caption)
    for index, (choice, text) in enumerate(choices):
        radio(choice, 16 + 24 * index, text, choice == checked)
    close_widget()


def panel(name, caption):
    open_widget("TkavPanel", name)
    look()
    flag("ShowButton", False)
    rgb("Color", 255, 255, 255)
    rgb("BorderColor", 127, 127, 127)
    rgb("CaptionFontColor", 0, 0, 0)
    string("Caption", caption)


def settings_panel():
    panel("panel_left", "题目设置")
    prop("minimumSize", "<size><width>60</width><height>0</height></size>")
    group("group_nandu", 8, 24, 137, 113, "难度选择", [
        ("rad_nandu1", "10        以下"), ("rad_nandu2", "100      以下"),
        ("rad_nandu3", "1000    以下"), ("rad_nandu4", "10000  以下")], "rad_nandu2")
    group("group_tishu", 8, 144, 137, 137, "题目数量", [
        ("rad_tishu1", "20   道题目"), ("rad_tishu2", "40   道题目"), ("rad_tishu3", "60   道题目"),
        ("rad_tishu4", "80   道题目"), ("rad_tishu5", "100 道题目")], "rad_tishu1")
    group("group_suanfa", 8, 288, 137, 89, "算法类型", [
        ("rad_suanfa1", "加 减 法"), ("rad_suanfa2", "乘 除 法"), ("rad_suanfa3", "混和计算")],
        "rad_suanfa1")
    group_box("group_time", 8, 384, 137, 57, "时间设定")
    open_widget("TkavComboBox", "combox_time")
    geometry(24, 24, 81, 21)
    look()
    prop("editable", "<bool>true</bool>")
    for item in ["5  分钟", "10 分钟", "15 分钟", "20 分钟", "30 分钟", "不限时"]:
        w(f"<item><property name=\"text\"><string>{escape(item)}</string></property></item>")
    prop("ItemHeight", "<number>13</number>")
    rgb("BorderColor", 127, 127, 127)
    rgb("ArrowColor", 0, 0, 0)
    rgb("ButtonColor", 231, 231, 231)
    close_widget()
    tab_order.append("combox_time")
    close_widget()
    button("button_begin", 32, 448, "开始考试")
    button("button_exit", 32, 480, "退出考场")
    close_widget()


WELCOME_NOTES = [
    "简单使用说明:",
    "1.首先在左边设置题目的难度,数目等.",
    "2.点击左下角\"开始考试\",即可开始模拟考场.",
    "3.考试完毕后,请点击\"我要交卷\".",
    "4.考试时间结束时,将自动关闭考场,并查看答案是",
    "否正确.",
    "5.请使用 TAB 键选择下一道题目",
    "",
    "6.答题框只接受数字,输入错了可用退格键修改.",
    "7.点击\"上一页\"\"下一页\"在各页题目之间切换.",
    "8.答题时按回车键,也会跳到下一道题目;",
    "  每页最后一题按回车键,会跳到\"下一页\"",
    "  或\"我要交卷\".",
    "9.时间可直接输入分钟数,如 45 或 45 分钟.",
]

SITES = {
    "Image3": "https://www.velmora.example/",
    "Image4": "https://download.velmora.example/",
    "Image5": "https://learn.velmora.example/",
}


def welcome_page():
    open_widget("TkavTabSheet", "tab_welcome")
    flag("TabVisible", False)
    geometry(3, 22, 626, 447)
    colour("kavColor", "#ffffff")
    label("Image1", 0, 0, 300, 325)
    label("Image2", 304, 16, 300, 68)
    for name, (x, width, height) in {"Image3": (8, 120, 60), "Image4": (136, 150, 54),
                                     "Image5": (296, 150, 60)}.items():
        open_widget("QLabel", name)
        geometry(x, 352, width, height)
        prop("cursor", "<cursorShape>PointingHandCursor</cursorShape>")
        string("url", SITES[name], stdset=False)
        close_widget()
    open_widget("TkavURLLabel", "label_zuozhe")
    geometry(472, 304, 57, 13)
    font(family=SONG, pixels=12, underline=True)
    rgb("FontLinkColor", 0, 0, 255)
    rgb("FontHoverColor", 255, 0, 0)
    string("URL", "mailto:tallisk@velmora.example")
    string("Caption", "联系作者")
    close_widget()
    open_widget("TkavMemo", "kavMemo1")
    geometry(320, 104, 289, 193)
    look()
    rgb("BorderColor", 127, 127, 127)
    flag("ReadOnly", True)
    prop("ScrollBars", "<enum>TkavMemo::ssVertical</enum>")
    string("plainText", "\n".join(WELCOME_NOTES))
    close_widget()
    close_widget()


PAGE_BUTTONS = {
    1: [("button_go1", 512, "下一页")],
    2: [("button_go2", 416, "上一页"), ("button_go3", 512, "下一页")],
    3: [("button_go4", 416, "上一页"), ("button_go5", 512, "下一页")],
    4: [("button_go6", 416, "上一页"), ("button_go7", 512, "下一页")],
    5: [("button_go8", 512, "上一页")],
}


def exam_page(page):
    open_widget("TkavTabSheet", f"tab_kc{page}")
    geometry(3, 22, 626, 447)
    flag("TabVisible", False)
    font(family=SONG, pixels=20, bold=True)
    colour("kavColor", "#ffffff")
    colour("kavFontColor", "#000000")
    for i in range(20):
        row = 20 * (page - 1) + i + 1
        k = i % 10
        dx = 0 if i < 10 else 312
        y = 56 + 32 * k
        label(f"tt{row}_1", 8 + dx, y, 57, 20, align="Qt::AlignCenter")
        label(f"tf{row}", 64 + dx, y, 25, 20, align="Qt::AlignLeft|Qt::AlignVCenter")
        label(f"tt{row}_2", 88 + dx, y, 57, 20, align="Qt::AlignCenter")
        label(f"eq{row}", 152 + dx, y, 11, 20, "=")
        open_widget("TkavEdit", f"tr{row}")
        geometry(176 + dx, y, 73, 25)
        look()
        rgb("BorderColor", 127, 127, 127)
        close_widget()
        tab_order.append(f"tr{row}")
        label(f"ok{row}", 256 + dx, 64 + 32 * k, 41, 12, family=SONG, pixels=12, bold=False)
    label(f"label_page{page}", 24, 408, 75, 20, f"第 {page} 页")
    for name, x, text in PAGE_BUTTONS[page]:
        button(name, x, 400, text, page_button=True)
    close_widget()


def exam_panel():
    panel("panel_right", "当前考场设置:")
    font(family=SONG, pixels=12)
    open_widget("TkavPageControl", "page_kaochang")
    look("WinXP")
    prop("LeftMargin", "<number>10</number>")
    rgb("BorderColor", 104, 104, 104)
    geometry(4, 25, 632, 472)
    font(family=SONG, pixels=12)
    colour("kavColor", "#ffffff")
    tab_order.append("page_kaochang")
    welcome_page()
    for page in range(1, 6):
        exam_page(page)
    close_widget()
    label("image_time", 24, 504, 32, 32)
    open_widget("TkavEdit", "edit_time")
    geometry(64, 504, 73, 25)
    look()
    rgb("BorderColor", 127, 127, 127)
    prop("readOnly", "<bool>true</bool>")
    font(family=SONG, pixels=20, bold=True)
    colour("kavFontColor", "#ff0000")
    close_widget()
    label("score_text", 184, 512, 330, 16, color="#ff0000", family=SONG, pixels=12)
    button("button_ok", 520, 512, "我要交卷")
    tab_order.append("edit_time")
    # Last in the panel's order: it takes the focus only once it shows a report.
    tab_order.append("score_text")
    close_widget()


def main(path):
    w('<?xml version="1.0" encoding="UTF-8"?>')
    w('<ui version="4.0">')
    w("<class>form_main</class>")
    open_widget("QWidget", "form_main")
    geometry(0, 0, 798, 570)
    string("windowTitle", "Velmora软件---Tallisk  1.2")
    font(family=SONG, pixels=12)
    # The skinned frame: title bar and border in the MacOS look. Its title-bar buttons and
    # caption font are set by the window (a form definition cannot hold them).
    open_widget("TkavForm", "sform_main")
    geometry(1, 0, 796, 569)
    look()
    rgb("BorderColor", 127, 127, 127)
    prop("BorderWidth", "<number>1</number>")
    rgb("Color", 231, 231, 231)
    rgb("MenuBarColor", 231, 231, 231)
    prop("MenuBarHeight", "<number>22</number>")
    prop("RoundCorner", "<number>0</number>")
    flag("TitleBarDrawAppIcon", False)
    w('<layout class="QHBoxLayout" name="sform_layout">')
    for side in ("leftMargin", "topMargin", "rightMargin", "bottomMargin"):
        prop(side, "<number>1</number>")
    prop("spacing", "<number>0</number>")
    w("<item>")
    open_widget("QSplitter", "Splitter1")
    prop("orientation", "<enum>Qt::Horizontal</enum>")
    prop("handleWidth", "<number>3</number>")
    prop("childrenCollapsible", "<bool>false</bool>")
    settings_panel()
    exam_panel()
    close_widget()
    w("</item>")
    w("</layout>")
    close_widget()
    close_widget()
    w("<customwidgets>")
    custom = (
        ("TkavForm", "QWidget", "KAVForm.h", True),
        ("TkavPanel", "QWidget", "KAVImagePanel.h", True),
        ("TkavCheckGroup", "QWidget", "KAVRadioGroup.h", True),
        ("TkavRadioButton", "QAbstractButton", "KAVCheckBox.h", False),
        ("TkavButton", "QAbstractButton", "KAVButton.h", False),
        ("TkavURLLabel", "QLabel", "KAVURLLabel.h", False),
        ("TkavEdit", "QLineEdit", "KAVEdit.h", False),
        ("TkavComboBox", "QComboBox", "KAVComboBox.h", False),
        ("TkavMemo", "QPlainTextEdit", "KAVMemo.h", False),
        ("TkavPageControl", "QWidget", "KAVPageControl.h", True),
        ("TkavTabSheet", "QWidget", "KAVPageControl.h", True),
    )
    for cls, base, header, container in custom:
        w(f"<customwidget><class>{cls}</class><extends>{base}</extends>"
          f"<header>{header}</header><container>{int(container)}</container></customwidget>")
    w("</customwidgets>")
    w("<tabstops>")
    for name in tab_order:
        w(f"<tabstop>{name}</tabstop>")
    w("</tabstops>")
    w("<resources/>")
    w("<connections/>")
    w("</ui>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/forms/form_main.ui")
