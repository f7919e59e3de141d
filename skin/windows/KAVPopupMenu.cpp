#include "KAVPopupMenu.h"

TkavPopupMenu::TkavPopupMenu(QWidget *parent)
    : QMenu(parent), m_appearance(this)
{
}

TkavPopupMenu::~TkavPopupMenu() = default;

void TkavPopupMenu::MenuAdded()
{
    m_appearance.skinner()->hookTree();
}
