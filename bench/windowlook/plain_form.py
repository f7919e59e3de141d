#!/usr/bin/env python3
"""Writes a plain-Qt copy of a Designer form whose widgets are skinned classes.

Usage: plain_form.py <form.ui> <plain.ui> <plain class name>

Every skinned class (Tkav...) becomes the Qt class a program without the skin would use; the
properties only the skinned classes know are dropped, except the caption (Qt's text or title),
the check state and the colours, which become the dynamic colour properties that the exam's
applyFormStyle() understands, so the copy shows the same texts on the same backgrounds.
"""

import sys
import xml.etree.ElementTree as ET

# Skinned class -> Qt class. Anything else skinned becomes a QWidget.
PLAIN_CLASS = {
    "TkavButton": "QPushButton",
    "TkavRadioButton": "QRadioButton",
    "TkavCheckBox": "QCheckBox",
    "TkavCheckGroup": "QGroupBox",
    "TkavRadioGroup": "QGroupBox",
    "TkavGroupBox": "QGroupBox",
    "TkavPanel": "QGroupBox",
    "TkavEdit": "QLineEdit",
    "TkavComboBox": "QComboBox",
    "TkavMemo": "QPlainTextEdit",
    "TkavPageControl": "QStackedWidget",
    "TkavTabSheet": "QWidget",
    "TkavURLLabel": "QLabel",
    "TkavForm": "QWidget",
}

# Qt properties the plain classes know and the form may set on a skinned widget.
KEPT = {"geometry", "font", "minimumSize", "maximumSize", "sizePolicy", "toolTip", "enabled",
        "text", "title", "plainText", "readOnly", "editable", "checked", "alignment", "cursor",
        "focusPolicy", "windowTitle"}

# Skinned property -> (Qt property, whether it is a dynamic property).
RENAMED = {
    "Caption": None,  # text or title, by class
    "Checked": ("checked", False),
    "ReadOnly": ("readOnly", False),
    "Color": ("kavColor", True),
    "FontColor": ("kavFontColor", True),
}


def caption_property(plain_class):
    return "title" if plain_class == "QGroupBox" else "text"


def colour_string(colour):
    parts = [int(colour.findtext(c, "0")) for c in ("red", "green", "blue")]
    return "#%02x%02x%02x" % tuple(parts)


# A memo's ScrollBars -> the scroll bar policies that show the same bars.
SCROLL_BARS = {
    "ssNone": ("ScrollBarAlwaysOff", "ScrollBarAlwaysOff"),
    "ssHorizontal": ("ScrollBarAlwaysOn", "ScrollBarAlwaysOff"),
    "ssVertical": ("ScrollBarAlwaysOff", "ScrollBarAlwaysOn"),
    "ssBoth": ("ScrollBarAlwaysOn", "ScrollBarAlwaysOn"),
}


def scroll_bar_policies(widget, prop):
    value = (prop.findtext("enum") or "").split("::")[-1]
    widget.remove(prop)
    if value not in SCROLL_BARS:
        return
    for orientation, policy in zip(("horizontal", "vertical"), SCROLL_BARS[value]):
        policy_prop = ET.SubElement(widget, "property", name=orientation + "ScrollBarPolicy")
        ET.SubElement(policy_prop, "enum").text = "Qt::" + policy


def make_plain(widget, plain_class):
    for prop in list(widget.findall("property")):
        name = prop.get("name")
        if prop.get("stdset") == "0":
            continue  # dynamic properties are valid on any widget
        if name == "ScrollBars" and plain_class == "QPlainTextEdit":
            scroll_bar_policies(widget, prop)
            continue
        if name in RENAMED:
            target = RENAMED[name] or (caption_property(plain_class), False)
            new_name, dynamic = target
            if plain_class == "QWidget" and not dynamic:
                widget.remove(prop)
                continue
            prop.set("name", new_name)
            if dynamic:
                prop.set("stdset", "0")
                colour = prop.find("color")
                if colour is not None:
                    prop.remove(colour)
                    ET.SubElement(prop, "string").text = colour_string(colour)
            continue
        if name not in KEPT:
            widget.remove(prop)


def main():
    source, target, class_name = sys.argv[1:4]
    tree = ET.parse(source)
    root = tree.getroot()
    root.find("class").text = class_name
    for widget in root.iter("widget"):
        skinned = widget.get("class", "")
        if not skinned.startswith("Tkav"):
            continue
        plain_class = PLAIN_CLASS.get(skinned, "QWidget")
        widget.set("class", plain_class)
        make_plain(widget, plain_class)
    custom = root.find("customwidgets")
    if custom is not None:
        root.remove(custom)
    tree.write(target, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    main()
