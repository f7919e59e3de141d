#include "GalleryStateButton.h"

GalleryStateButton::GalleryStateButton(Face face, QWidget *parent)
    : TkavButton(parent), m_face(face)
{
}

void GalleryStateButton::PaintButtonNormal(QImage &picture)
{
    if (m_face == Face::MouseOver)
        PaintButtonMouseOn(picture);
    else
        PaintButtonMouseDown(picture);
}
