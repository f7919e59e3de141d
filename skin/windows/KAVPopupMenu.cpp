#include "KAVPopupMenu.h"

TkavPopupMenu::TkavPopupMenu(QWidget *parent)
    : QMenu(parent), m_appearance(this, GetKAVFormStyle(parent != nullptr ? parent->window() : nullptr))
{
}

TkavPopupMenu::~TkavPopupMenu() = default;

void TkavPopupMenu::MenuAdded()
{
    m_appearance.skinner()->hookTree();
}
